// Sizes of text in the sans-serif face of the pictures, estimated without a
// font engine so that every front end and file places labels alike. The
// widths are those of DejaVu Sans, the widest of the common defaults, so a
// label drawn in a narrower face still fits the box it was given.
#pragma once

#include <string>
#include <string_view>

namespace marvist {

// Advance width in points of UTF-8 text at `size` points, in the bold face
// when asked (about an eighth wider). Bytes that are not UTF-8 count as one
// character each.
double text_width(std::string_view utf8, double size, bool bold = false);

// Height of a line of text at `size` points (ascent plus descent).
double text_height(double size);

// Distance from the top of a line of text to its baseline, at `size` points.
double text_ascent(double size);

// The text itself when it is at most max_width wide at `size` points, else
// as many of its first characters as fit with an ellipsis after them.
std::string fit_text(std::string_view utf8, double size, double max_width, bool bold = false);

}  // namespace marvist
