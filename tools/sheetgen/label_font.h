// The small bitmap font the sheet map writes its labels in: lower-case
// letters, digits and the few marks the labels use, each 5 pixels wide in a
// cell 9 pixels high (two rows below the baseline for g, j, p, q, y and the
// comma's tail).
#pragma once

#include <string_view>

namespace font {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 9;
constexpr int kAdvance = kGlyphWidth + 1; // one column between letters

// Whether the font draws `c`. Upper case is not drawn: the labels are
// written in lower case.
bool HasGlyph(char c);

// Whether pixel (x, y) of the cell of `c` is inked. A character the font
// lacks is a solid block, so a label that needs one shows it.
bool Ink(char c, int x, int y);

// Width in pixels of `text` in one line, without the space after the last
// letter.
constexpr int TextWidth(std::string_view text) {
    return text.empty() ? 0 : static_cast<int>(text.size()) * kAdvance - 1;
}

} // namespace font
