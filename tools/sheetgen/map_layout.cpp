// Laying out the sheet map: the frames, the key ring, and a clear place for
// every label.
#include "map_layout.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "label_font.h"

namespace sheetmap {

namespace {

// Room between a frame's line (one pixel outside its rectangle) and a label,
// and the wider room between two labels, so that neighbours read as two.
constexpr int kGap = 2;
constexpr int kLabelAir = 10;

constexpr Rect Grown(const Rect& r, int by) {
    return {r.left - by, r.top - by, r.right + by, r.bottom + by};
}

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Inside(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

Rect BoxAt(int left, int top, const std::string& text) {
    return {left, top, left + font::TextWidth(text) * kTextScale + 2 * kPadX,
            top + font::kGlyphHeight * kTextScale + 2 * kPadY};
}

// The places tried for a label of size w x h naming `t`, best first: centred
// above, centred below, then above and below slid sideways (nearest the
// centre first) as far as the label still spans half the narrower of the two,
// then right and left of it.
std::vector<Rect> Candidates(const Rect& t, int w, int h) {
    const int centre = (t.left + t.right - w) / 2;
    const int above = t.top - 1 - kGap - h, below = t.bottom + 1 + kGap;
    const int need = std::min(w, t.Width()) / 2;
    std::vector<int> slid;
    for (int left = t.left + need - w; left <= t.right - need; ++left)
        if (left != centre) slid.push_back(left);
    std::stable_sort(slid.begin(), slid.end(),
                     [&](int a, int b) { return std::abs(a - centre) < std::abs(b - centre); });

    std::vector<Rect> out{{centre, above, centre + w, above + h},
                          {centre, below, centre + w, below + h}};
    for (int top : {above, below})
        for (int left : slid)
            out.push_back({left, top, left + w, top + h});
    out.push_back({t.right + 1 + kGap, t.top, t.right + 1 + kGap + w, t.top + h});
    out.push_back({t.left - 1 - kGap - w, t.top, t.left - 1 - kGap, t.top + h});
    return out;
}

class Placer {
  public:
    // Keeps r and a pixel of air around it clear of labels.
    void Block(const Rect& r) { taken_.push_back(Grown(r, 1)); }

    bool Clear(const Rect& box) const {
        if (!Inside(box, ToMap({0, 0, sheet::kWidth, sheet::kHeight}))) return false;
        for (const Rect& r : taken_)
            if (Overlap(box, r)) return false;
        return true;
    }

    Label Place(const std::string& text, const Rect& target) {
        const Rect size = BoxAt(0, 0, text);
        Rect chosen = BoxAt(target.left + kGap, target.top + kGap, text);
        for (const Rect& box : Candidates(target, size.Width(), size.Height())) {
            if (Clear(box)) {
                chosen = box;
                break;
            }
        }
        return Put(text, chosen, target);
    }

    Label Put(const std::string& text, const Rect& box, const Rect& target) {
        taken_.push_back(Grown(box, kLabelAir));
        return {text, box, target};
    }

  private:
    std::vector<Rect> taken_;
};

std::string Caption() {
    return "city2.bmp: " + std::to_string(sheet::kWidth) + " x " + std::to_string(sheet::kHeight) +
           " pixels, 8 bits per pixel, 256 colours, shown at " + std::to_string(kScale) + "x";
}

} // namespace

Plan PlanMap() {
    Plan plan;
    std::vector<std::string> names;
    for (const sheet::NamedRect& sprite : sheet::kSprites) {
        plan.frames.push_back(ToMap(sprite.rect));
        names.push_back(sprite.name);
    }
    const Rect& bg = sheet::kBackground;
    plan.frames.push_back(ToMap(bg));
    names.push_back("background (" + std::to_string(bg.left) + ", " + std::to_string(bg.top) +
                    ")-(" + std::to_string(bg.right) + ", " + std::to_string(bg.bottom) + ")");

    const int cx = (kKeyPixel.left + kKeyPixel.right) / 2,
              cy = (kKeyPixel.top + kKeyPixel.bottom) / 2;
    plan.ring = {cx - kRingRadius, cy - kRingRadius, cx + kRingRadius, cy + kRingRadius};

    // The key's label goes first, to the right of its ring and centred on
    // it, so that the frames' labels keep clear of it.
    Placer placer;
    for (const Rect& frame : plan.frames)
        placer.Block(Grown(frame, 1)); // its line, one pixel outside
    placer.Block(plan.ring);
    const std::string key =
        "key colour (" + std::to_string(sheet::kKeyX) + ", " + std::to_string(sheet::kKeyY) + ")";
    const int keyHeight = BoxAt(0, 0, key).Height();
    const Label keyLabel =
        placer.Put(key, BoxAt(plan.ring.right + kGap, cy - keyHeight / 2, key), plan.ring);
    for (std::size_t i = 0; i < plan.frames.size(); ++i)
        plan.labels.push_back(placer.Place(names[i], plan.frames[i]));
    plan.labels.push_back(keyLabel);

    const std::string caption = Caption();
    const int captionTop = ToMap({0, 0, sheet::kWidth, sheet::kHeight}).bottom +
                           (kCaptionBand - BoxAt(0, 0, caption).Height()) / 2;
    plan.labels.push_back({caption, BoxAt(kMargin, captionTop, caption), {0, 0, 0, 0}});
    return plan;
}

} // namespace sheetmap
