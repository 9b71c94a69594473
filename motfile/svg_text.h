// SVG elements as text, with coordinates in fixed notation and escaped content.
#pragma once

#include <string>
#include <string_view>

namespace corvantide::motfile {

// A coordinate or length with one decimal, independent of the locale.
std::string Num(double value);

// Text made safe for element content and attribute values.
std::string Escape(std::string_view text);

// Each returns one element and its line feed; `attributes` is inserted as is.
std::string SvgText(double x, double y, std::string_view text, std::string_view attributes);
std::string SvgLine(double x1, double y1, double x2, double y2, std::string_view attributes);
std::string SvgRect(double x, double y, double width, double height, std::string_view attributes);
std::string SvgCircle(double x, double y, double radius, std::string_view attributes);

}  // namespace corvantide::motfile
