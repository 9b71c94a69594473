// SVG rendering of the simulated panel.
#include "panel_svg.h"

#include <algorithm>
#include <cstdint>
#include <sstream>

#include "host_text.h"
#include "motfile/svg_text.h"
#include "tool_files.h"

namespace simhost {

namespace {

constexpr int kTitleHeight = 16;
constexpr int kMargin = 4;
constexpr double kFontSize = 7.5;
constexpr double kStatusFontSize = 6.5;
constexpr double kStatusLineHeight = 7.5;
constexpr int kLabelGap = 3;

struct Box {
    int x, y, w, h;
};

struct Palette {
    const char* text;
    const char* field;
    const char* button;
    const char* edge;
};

constexpr Palette kActive{"#111111", "#ffffff", "#b9c3d1", "#55606e"};
constexpr Palette kGreyed{"#9a9a9a", "#e4e4e4", "#d6d9dd", "#b0b0b0"};

class SvgWriter {
public:
    explicit SvgWriter(std::ostringstream& out) : out_(out) {}

    void Rect(const Box& b, const char* fill, const char* stroke, int radius = 0) {
        out_ << "<rect x=\"" << b.x << "\" y=\"" << b.y << "\" width=\"" << b.w << "\" height=\"" << b.h
             << "\" rx=\"" << radius << "\" fill=\"" << fill << "\" stroke=\"" << stroke
             << "\" stroke-width=\"0.6\"/>\n";
    }

    void Text(double x, double y, const std::string& text, const char* fill, const char* anchor = "start",
              double size = kFontSize, const char* clip = nullptr) {
        out_ << "<text x=\"" << x << "\" y=\"" << y << "\" font-size=\"" << size << "\" fill=\"" << fill
             << "\" text-anchor=\"" << anchor << "\" xml:space=\"preserve\"";
        if (clip != nullptr) out_ << " clip-path=\"url(#" << clip << ")\"";
        out_ << ">" << corvantide::motfile::Escape(text) << "</text>\n";
    }

    void Clip(const std::string& id, const Box& b) {
        out_ << "<clipPath id=\"" << id << "\"><rect x=\"" << b.x << "\" y=\"" << b.y << "\" width=\"" << b.w
             << "\" height=\"" << b.h << "\"/></clipPath>\n";
    }

    void Line(double x1, double y1, double x2, double y2, const char* stroke, double width) {
        out_ << "<line x1=\"" << x1 << "\" y1=\"" << y1 << "\" x2=\"" << x2 << "\" y2=\"" << y2
             << "\" stroke=\"" << stroke << "\" stroke-width=\"" << width << "\"/>\n";
    }

private:
    std::ostringstream& out_;
};

double Baseline(const Box& b) { return b.y + b.h / 2.0 + kFontSize * 0.35; }

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

void DrawControl(SvgWriter& svg, const SimControl& c, int index) {
    const Palette& p = c.enabled ? kActive : kGreyed;
    const Box b{c.x, c.y + kTitleHeight, c.width, c.height};
    std::string clip = "c";
    clip.append(std::to_string(index));
    if (c.type == "AreaText") {
        svg.Rect(b, p.field, p.edge);
        svg.Clip(clip, b);
        double y = b.y + kStatusLineHeight;
        for (const std::string& line : Lines(FromHostText(c.text))) {
            svg.Text(b.x + 2, y, line, p.text, "start", kStatusFontSize, clip.c_str());
            y += kStatusLineHeight;
        }
    } else if (c.type == "String" || c.type == "Int") {
        if (!c.label.empty()) svg.Text(b.x - kLabelGap, Baseline(b), c.label, p.text, "end");
        svg.Rect(b, p.field, p.edge);
        svg.Clip(clip, b);
        const bool number = c.type == "Int";
        svg.Text(number ? b.x + b.w - 3 : b.x + 2, Baseline(b),
                 number ? std::to_string(c.value) : FromHostText(c.text), p.text, number ? "end" : "start",
                 kFontSize, clip.c_str());
    } else if (c.type == "PopupList") {
        svg.Text(b.x - kLabelGap, Baseline(b), c.label, p.text, "end");
        svg.Rect(b, p.button, p.edge, 2);
        const bool inRange = c.value >= 0 && static_cast<std::size_t>(c.value) < c.listEntries.size();
        const std::string shown = inRange ? c.listEntries[static_cast<std::size_t>(c.value)] : "?";
        svg.Text(b.x + 4, Baseline(b), shown, p.text);
        svg.Text(b.x + b.w - 4, Baseline(b), "\u25BE", p.text, "end");
    } else if (c.type == "Button") {
        svg.Rect(b, p.button, p.edge, 3);
        svg.Text(b.x + b.w / 2.0, Baseline(b), c.label, p.text, "middle");
    } else if (c.type == "BooleanButton") {
        svg.Rect(b, p.button, p.edge, 2);
        const int side = std::min(b.h - 6, 11);
        const Box check{b.x + 3, b.y + (b.h - side) / 2, side, side};
        svg.Rect(check, c.value != 0 ? "#3d7a3d" : p.field, p.edge);
        if (c.value != 0) svg.Text(check.x + side / 2.0, Baseline(b), "\u2713", "#ffffff", "middle");
        svg.Text(check.x + side + 4, Baseline(b), c.label, p.text);
    } else if (c.type == "SeparatorLine") {
        svg.Line(b.x, b.y + b.h / 2.0, b.x + b.w, b.y + b.h / 2.0, p.edge, 1.0);
    } else {
        svg.Rect(b, "#ff00ff", p.edge);
        std::string unknown = c.type;
        unknown.append(": ").append(c.label);
        svg.Text(b.x + 2, Baseline(b), unknown, p.text);
    }
}

}  // namespace

std::string RenderPanelSvg(const SimInterface& ui, double scale) {
    const SimBlock* block = ui.LastBlock();
    const std::vector<SimControl*> controls = ui.Controls();
    int width = 0;
    int height = 0;
    for (const SimControl* c : controls) {
        width = std::max(width, c->x + c->width);
        height = std::max(height, c->y + c->height);
    }
    width += kMargin;
    height += kMargin + kTitleHeight;

    std::ostringstream out;
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width * scale << "\" height=\""
        << height * scale << "\" viewBox=\"0 0 " << width << " " << height
        << "\" font-family=\"DejaVu Sans, Arial, sans-serif\">\n";
    SvgWriter svg(out);
    svg.Rect({0, 0, width, height}, "#d4d7dc", "#404850");
    svg.Rect({0, 0, width, kTitleHeight}, "#3f4d63", "#404850");
    const std::string title = block != nullptr ? block->title : std::string("(no block)");
    svg.Text(6, kTitleHeight / 2.0 + kFontSize * 0.35, title, "#ffffff", "start", kFontSize + 1);
    int index = 0;
    for (const SimControl* c : controls) DrawControl(svg, *c, index++);
    out << "</svg>\n";
    return out.str();
}

bool WritePanelSvg(const SimInterface& ui, const std::string& path, double scale, std::string* reason) {
    const ToolWrite wrote = WriteToolFile(path, RenderPanelSvg(ui, scale));
    if (reason != nullptr) *reason = wrote.reason;
    return wrote.outcome == corvantide::WholeFile::kWritten;
}

}  // namespace simhost
