// SVG element text.
#include "svg_text.h"

#include "plot_axis.h"
#include "text_join.h"

namespace corvantide::motfile {

std::string Num(double value) { return FormatFixed(value, 1); }

std::string Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string SvgText(double x, double y, std::string_view text, std::string_view attributes) {
    return Join({"<text x=\"", Num(x), "\" y=\"", Num(y), "\" ", attributes, ">", Escape(text), "</text>\n"});
}

std::string SvgLine(double x1, double y1, double x2, double y2, std::string_view attributes) {
    return Join({"<line x1=\"", Num(x1), "\" y1=\"", Num(y1), "\" x2=\"", Num(x2), "\" y2=\"", Num(y2), "\" ",
                 attributes, "/>\n"});
}

std::string SvgRect(double x, double y, double width, double height, std::string_view attributes) {
    return Join({"<rect x=\"", Num(x), "\" y=\"", Num(y), "\" width=\"", Num(width), "\" height=\"",
                 Num(height), "\" ", attributes, "/>\n"});
}

std::string SvgCircle(double x, double y, double radius, std::string_view attributes) {
    return Join(
        {"<circle cx=\"", Num(x), "\" cy=\"", Num(y), "\" r=\"", Num(radius), "\" ", attributes, "/>\n"});
}

}  // namespace corvantide::motfile
