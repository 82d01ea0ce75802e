#include "render.h"

#include <cmath>
#include <string>

namespace skingen {

namespace {

// Palette: a dark graphite ground with a cyan accent.
const Rgb kGround = hex(0x0B0D11);
const Rgb kBodyTop = hex(0x181B22);
const Rgb kBodyBottom = hex(0x0D0F13);
const Rgb kPanel = hex(0x12151B);
const Rgb kPanelLine = hex(0x232833);
const Rgb kControl = hex(0x1D2129);
const Rgb kControl2 = hex(0x171A21);
const Rgb kControlLine = hex(0x323946);
const Rgb kHover = hex(0x2A313D);
const Rgb kHover2 = hex(0x212731);
const Rgb kAccent = hex(0x21D4FD);
const Rgb kAccent2 = hex(0x2B7BFF);
const Rgb kAccentDeep = hex(0x0B3A4C);
const Rgb kPressTop = hex(0x11708C);
const Rgb kPressBottom = hex(0x0A4153);
const Rgb kDim = hex(0x6B7482);
const Rgb kFaint = hex(0x3A414E);
const Rgb kWhite = hex(0xFFFFFF);
const Rgb kDanger = hex(0xD9304A);
const Rgb kLevel[4] = {Rgb{0, 0, 255}, Rgb{255, 0, 255}, Rgb{255, 0, 0}, Rgb{128, 0, 255}};

constexpr float kPi = 3.14159265f;

Clip clipOf(const Control& c) { return Clip::box(c.x, c.y, c.w, c.h); }

// The outline inset by d (each edge moved inwards, corners re-intersected).
std::vector<Pt> inset(const std::vector<Pt>& p, float d) {
    const std::size_t n = p.size();
    // Orientation: positive area means clockwise in screen coordinates.
    float area = 0;
    for (std::size_t i = 0; i < n; ++i) area += p[i].x * p[(i + 1) % n].y - p[(i + 1) % n].x * p[i].y;
    const float s = area > 0 ? 1.0f : -1.0f;
    std::vector<Pt> out;
    for (std::size_t i = 0; i < n; ++i) {
        const Pt a = p[(i + n - 1) % n], b = p[i], c = p[(i + 1) % n];
        auto normal = [s](Pt u, Pt v) {
            const float dx = v.x - u.x, dy = v.y - u.y, l = std::sqrt(dx * dx + dy * dy);
            return Pt{-dy / l * s, dx / l * s};
        };
        const Pt n1 = normal(a, b), n2 = normal(b, c);
        // Intersection of the two offset lines through b.
        const Pt p1{a.x + n1.x * d, a.y + n1.y * d}, d1{b.x - a.x, b.y - a.y};
        const Pt p2{b.x + n2.x * d, b.y + n2.y * d}, d2{c.x - b.x, c.y - b.y};
        const float den = d1.x * d2.y - d1.y * d2.x;
        if (std::fabs(den) < 1e-6f) {
            out.push_back(Pt{b.x + n1.x * d, b.y + n1.y * d});
            continue;
        }
        const float t = ((p2.x - p1.x) * d2.y - (p2.y - p1.y) * d2.x) / den;
        out.push_back(Pt{p1.x + d1.x * t, p1.y + d1.y * t});
    }
    return out;
}

void outlineBorder(Canvas& c, const std::vector<Pt>& outline, float width, Rgb colour, float alpha) {
    fillShape(c, 0, 0, c.width(), c.height(), minus(polygon(outline), polygon(inset(outline, width))), colour, alpha);
}

// ---- Controls.

void drawWarningButton(Canvas& c, const Control& k, Look look) {
    // The dialog writes its captions in red, so its buttons stay dark.
    const Clip clip = clipOf(k);
    const float x = k.x + 0.5f, y = k.y + 0.5f, w = k.w - 1.0f, h = k.h - 1.0f;
    if (look == Look::Normal) {
        roundRectGradient(c, x, y, w, h, 6, hex(0x1F232B), hex(0x15181E), 1, clip);
        roundRectStroke(c, x, y, w, h, 6, 1, kControlLine, 1, clip);
    } else {
        roundRectGradient(c, x, y, w, h, 6, hex(0x2E2228), hex(0x1C1518), 1, clip);
        roundRectStroke(c, x, y, w, h, 6, 1.2f, hex(0xFF5A5A), 1, clip);
        glow(c, k.x + k.w / 2.0f, k.y + k.h, k.w * 0.6f, k.h * 0.7f, hex(0xFF3B3B), 0.2f, clip);
    }
}

void drawButton(Canvas& c, const Control& k, Look look, bool primary = false) {
    if (k.extra == 3) return drawWarningButton(c, k, look);
    const Clip clip = clipOf(k);
    const float x = k.x + 0.5f, y = k.y + 0.5f, w = k.w - 1.0f, h = k.h - 1.0f, r = std::min(6.0f, h / 2);
    switch (look) {
    case Look::Normal:
        roundRectGradient(c, x, y, w, h, r, primary ? hex(0x163947) : kControl, primary ? hex(0x0F2731) : kControl2, 1, clip);
        roundRectStroke(c, x, y, w, h, r, 1.0f, primary ? hex(0x1C7E99) : kControlLine, 1, clip);
        break;
    case Look::Over:
        roundRectGradient(c, x, y, w, h, r, primary ? hex(0x1B5568) : kHover, primary ? hex(0x123A48) : kHover2, 1, clip);
        roundRectStroke(c, x, y, w, h, r, 1.0f, kAccent, 0.9f, clip);
        glow(c, k.x + k.w / 2.0f, k.y + k.h, k.w * 0.6f, k.h * 0.7f, kAccent, 0.18f, clip);
        break;
    case Look::Down:
        roundRectGradient(c, x, y, w, h, r, kPressTop, kPressBottom, 1, clip);
        roundRectStroke(c, x, y, w, h, r, 1.2f, kAccent, 1, clip);
        break;
    }
}

void drawRecordDot(Canvas& c, const Control& k, Look look) {
    const Clip clip = clipOf(k);
    const float cx = k.x + 10.0f, cy = k.y + k.h / 2.0f;
    fillShape(c, cx - 6, cy - 6, cx + 6, cy + 6, ellipse(cx, cy, 4.5f, 4.5f), look == Look::Down ? hex(0xFF5060) : kDanger, 1, clip);
}

void drawTab(Canvas& c, const Control& k, Look look) {
    const Clip clip = clipOf(k);
    const float x = k.x + 0.5f, y = k.y + 0.5f, w = k.w - 1.0f, h = k.h - 1.0f;
    if (look == Look::Over) {
        roundRectGradient(c, x, y, w, h, 6, hex(0x222833), hex(0x171B22), 1, clip);
        rectFill(c, k.x + 14, k.y + k.h - 3, k.w - 28, 2, kAccent, 0.55f, clip);
    } else if (look == Look::Down) {
        roundRectGradient(c, x, y, w, h, 6, hex(0x10303D), hex(0x0C1C24), 1, clip);
        roundRectStroke(c, x, y, w, h, 6, 1.0f, hex(0x1A6F88), 1, clip);
        glow(c, k.x + k.w / 2.0f, k.y + k.h - 2.0f, k.w * 0.55f, 14, kAccent, 0.35f, clip);
        rectFill(c, k.x + 8, k.y + k.h - 4, k.w - 16, 3, kAccent, 1, clip);
    }
}

void drawProfile(Canvas& c, const Control& k, Look look) {
    const Clip clip = clipOf(k);
    const float x = k.x + 0.5f, y = k.y + 0.5f, w = k.w - 1.0f, h = k.h - 1.0f;
    if (look == Look::Normal) {
        roundRectGradient(c, x, y, w, h, 5, kControl, kControl2, 1, clip);
        roundRectStroke(c, x, y, w, h, 5, 1, kPanelLine, 1, clip);
        fillShape(c, k.x + 10, k.y + h / 2 - 3, k.x + 17, k.y + h / 2 + 4, ellipse(k.x + 13.5f, k.y + k.h / 2.0f, 3, 3), kFaint, 1, clip);
    } else if (look == Look::Over) {
        roundRectGradient(c, x, y, w, h, 5, kHover, kHover2, 1, clip);
        roundRectStroke(c, x, y, w, h, 5, 1, kAccent, 0.8f, clip);
        fillShape(c, k.x + 10, k.y + h / 2 - 3, k.x + 17, k.y + h / 2 + 4, ellipse(k.x + 13.5f, k.y + k.h / 2.0f, 3, 3), kAccent, 0.8f, clip);
    } else {
        roundRectGradient(c, x, y, w, h, 5, kPressTop, kPressBottom, 1, clip);
        roundRectStroke(c, x, y, w, h, 5, 1.2f, kAccent, 1, clip);
        rectFill(c, k.x + 2, k.y + 6, 3, k.h - 12, kAccent, 1, clip);
        fillShape(c, k.x + 9, k.y + h / 2 - 4, k.x + 18, k.y + h / 2 + 5, ellipse(k.x + 13.5f, k.y + k.h / 2.0f, 3.5f, 3.5f), kWhite, 1, clip);
    }
}

void drawPill(Canvas& c, const Fonts& f, const Control& k, Look look) {
    const Clip clip = clipOf(k);
    const float x = k.x + 0.5f, y = k.y + 0.5f, w = k.w - 1.0f, h = k.h - 1.0f;
    if (look == Look::Normal) {
        roundRectStroke(c, x, y, w, h, h / 2, 1, kControlLine, 1, clip);
    } else if (look == Look::Over) {
        roundRectFill(c, x, y, w, h, h / 2, kHover, 1, clip);
        roundRectStroke(c, x, y, w, h, h / 2, 1, kAccent, 0.8f, clip);
    } else {
        roundRectGradient(c, x, y, w, h, h / 2, kPressTop, kPressBottom, 1, clip);
        roundRectStroke(c, x, y, w, h, h / 2, 1, kAccent, 1, clip);
    }
    // The edition names are the same in both editions, so they are part of
    // the picture: "中文" needs a Chinese face whatever the edition's font.
    const Rgb ink = look == Look::Normal ? hex(0xAEB6C2) : kWhite;
    if (k.extra == 1)
        f.cjk.drawCentred(c, k.x, k.y, k.w, k.h, "中文", ink, 1, clip);
    else
        f.small.drawCentred(c, k.x, k.y, k.w, k.h, "EN", ink, 1, clip);
}

void drawWindowButton(Canvas& c, const Control& k, Look look, bool close) {
    const Clip clip = clipOf(k);
    const float x = k.x + 0.5f, y = k.y + 0.5f, w = k.w - 1.0f, h = k.h - 1.0f;
    Rgb icon = hex(0xAEB6C2);
    if (look == Look::Over) {
        roundRectFill(c, x, y, w, h, 6, close ? kDanger : kHover, 1, clip);
        icon = kWhite;
    } else if (look == Look::Down) {
        roundRectFill(c, x, y, w, h, 6, close ? hex(0x8E1E30) : kPressBottom, 1, clip);
        icon = kWhite;
    }
    const float cx = k.x + k.w / 2.0f, cy = k.y + k.h / 2.0f;
    if (close) {
        line(c, cx - 5, cy - 5, cx + 5, cy + 5, 1.8f, icon, 1, clip);
        line(c, cx + 5, cy - 5, cx - 5, cy + 5, 1.8f, icon, 1, clip);
    } else {
        line(c, cx - 6, cy + 4, cx + 6, cy + 4, 1.8f, icon, 1, clip);
    }
}

void drawLogo(Canvas& c, const Fonts& f, const Control& k, Look look) {
    const Clip clip = clipOf(k);
    if (look != Look::Normal) glow(c, k.x + 60.0f, k.y + k.h / 2.0f, 80, 26, kAccent, look == Look::Down ? 0.35f : 0.22f, clip);
    // A chevron mark and the name.
    const float mx = k.x + 8.0f, my = k.y + 9.0f;
    fillShape(c, mx, my, mx + 26, my + 26, polygon({{mx, my}, {mx + 10, my}, {mx + 22, my + 12}, {mx + 10, my + 24}, {mx, my + 24}, {mx + 12, my + 12}}),
              [&](float, float py) { return mix(kAccent, kAccent2, (py - my) / 24); }, 1, clip);
    fillShape(c, mx + 12, my, mx + 30, my + 26, polygon({{mx + 14, my}, {mx + 19, my}, {mx + 31, my + 12}, {mx + 19, my + 24}, {mx + 14, my + 24}, {mx + 26, my + 12}}),
              kAccent, 0.45f, clip);
    const std::string name = "KORVEL";
    int x = k.x + 46;
    for (char ch : name) {
        const std::string s(1, ch);
        f.logo.draw(c, x, k.y + 30, s, look == Look::Normal ? hex(0xE8ECF2) : kWhite, 1, clip);
        x += f.logo.measure(s) + 3;
    }
    f.tiny.draw(c, k.x + 47, k.y + 40, "GAMING GEAR", kDim, 1, clip);
}

void drawLink(Canvas& c, const Control& k, Look look) {
    const Clip clip = clipOf(k);
    if (look != Look::Normal) rectFill(c, k.x + 20, k.y + k.h - 3, k.w - 40, 1, kAccent, look == Look::Down ? 1.0f : 0.7f, clip);
}

void drawChevronDown(Canvas& c, float cx, float cy, Rgb colour, const Clip& clip) {
    line(c, cx - 4, cy - 2, cx, cy + 2, 1.5f, colour, 1, clip);
    line(c, cx, cy + 2, cx + 4, cy - 2, 1.5f, colour, 1, clip);
}

void drawFunctionRow(Canvas& c, const Control& k, Look look) {
    const Clip clip = clipOf(k);
    const float x = k.x + 0.5f, y = k.y + 0.5f, w = k.w - 1.0f, h = k.h - 1.0f;
    const float ax = k.x + k.w - 14.0f, ay = k.y + k.h / 2.0f;
    if (look == Look::Normal) {
        roundRectFill(c, x, y, w, h, 4, kControl2, 1, clip);
        roundRectStroke(c, x, y, w, h, 4, 1, kPanelLine, 1, clip);
        drawChevronDown(c, ax, ay, kDim, clip);
    } else if (look == Look::Over) {
        roundRectGradient(c, x, y, w, h, 4, kHover, kHover2, 1, clip);
        roundRectStroke(c, x, y, w, h, 4, 1, kAccent, 0.85f, clip);
        rectFill(c, k.x + 1, k.y + 4, 2, k.h - 8, kAccent, 1, clip);
        drawChevronDown(c, ax, ay, kAccent, clip);
    } else {
        roundRectGradient(c, x, y, w, h, 4, kPressTop, kPressBottom, 1, clip);
        roundRectStroke(c, x, y, w, h, 4, 1, kAccent, 1, clip);
        drawChevronDown(c, ax, ay, kWhite, clip);
    }
}

void drawOption(Canvas& c, const Control& k, Look look) {
    drawButton(c, k, look);
    const Clip clip = clipOf(k);
    const float cx = k.x + 14.0f, cy = k.y + k.h / 2.0f;
    const Rgb ring = look == Look::Normal ? kFaint : kAccent;
    fillShape(c, cx - 7, cy - 7, cx + 7, cy + 7, minus(ellipse(cx, cy, 6, 6), ellipse(cx, cy, 4.6f, 4.6f)), look == Look::Down ? kWhite : ring, 1, clip);
    if (look == Look::Down) fillShape(c, cx - 4, cy - 4, cx + 4, cy + 4, ellipse(cx, cy, 2.8f, 2.8f), kWhite, 1, clip);
}

void drawLevelSelect(Canvas& c, const Control& k, Look look) {
    const Clip clip = clipOf(k);
    const Rgb colour = kLevel[k.extra & 3];
    const Rgb lit = mix(colour, kWhite, 0.25f);
    const float cx = k.x + k.w / 2.0f, cy = k.y + k.h / 2.0f;
    if (look == Look::Down) glow(c, cx, cy, 12, 12, lit, 0.5f, clip);
    const Rgb ring = look == Look::Normal ? kFaint : look == Look::Over ? kAccent : lit;
    fillShape(c, cx - 10, cy - 10, cx + 10, cy + 10, minus(ellipse(cx, cy, 9, 9), ellipse(cx, cy, 7.3f, 7.3f)), ring, 1, clip);
    fillShape(c, cx - 6, cy - 6, cx + 6, cy + 6, ellipse(cx, cy, look == Look::Down ? 5.0f : 3.2f, look == Look::Down ? 5.0f : 3.2f), lit,
              look == Look::Normal ? 0.55f : 1.0f, clip);
}

void drawToggleAt(Canvas& c, float x, float y, float w, float h, Look look, const Clip& clip) {
    const float r = h / 2;
    if (look == Look::Down) {
        roundRectGradient(c, x, y, w, h, r, kAccent, hex(0x1492C9), 1, clip);
        fillShape(c, x + w - h, y, x + w, y + h, ellipse(x + w - r, y + r, r - 2.5f, r - 2.5f), kWhite, 1, clip);
    } else {
        roundRectFill(c, x, y, w, h, r, look == Look::Over ? hex(0x333B48) : hex(0x262B35), 1, clip);
        roundRectStroke(c, x, y, w, h, r, 1, look == Look::Over ? kAccent : kControlLine, look == Look::Over ? 0.8f : 1.0f, clip);
        fillShape(c, x, y, x + h, y + h, ellipse(x + r, y + r, r - 3, r - 3), look == Look::Over ? hex(0xC9D1DC) : hex(0x7E8796), 1, clip);
    }
}

void drawToggle(Canvas& c, const Control& k, Look look) {
    drawToggleAt(c, k.x + 1.5f, k.y + 1.5f, k.w - 3.0f, k.h - 3.0f, look, clipOf(k));
}

void drawToggleRow(Canvas& c, const Control& k, Look look) {
    const Clip clip = clipOf(k);
    const float x = k.x + 0.5f, y = k.y + 0.5f, w = k.w - 1.0f, h = k.h - 1.0f;
    roundRectFill(c, x, y, w, h, 5, look == Look::Over ? kHover2 : kControl2, 1, clip);
    roundRectStroke(c, x, y, w, h, 5, 1, look == Look::Normal ? kPanelLine : look == Look::Over ? kAccent : hex(0x1A6F88),
                    look == Look::Over ? 0.7f : 1.0f, clip);
    drawToggleAt(c, k.x + k.w - 34.0f, k.y + (k.h - 16) / 2.0f, 28, 16, look, clip);
}

void drawSlot(Canvas& c, const Control& k, Look look) {
    // The visible slot is the area the program fills in the level's colour:
    // one pixel in from the sides and the top, down to the bottom.
    const Clip clip = clipOf(k);
    const int x = k.x + 1, y = k.y + 1, w = k.w - 2, h = k.h - 1;
    const Rgb colour = kLevel[k.extra & 3];
    if (look == Look::Normal) {
        verticalGradient(c, x, y, w, h, hex(0x1E222A), hex(0x15181E), clip);
        rectFill(c, x, y, w, 1, hex(0x2A303B), 1, clip);
        rectFill(c, x, y + h - 2, w, 2, colour, 0.35f, clip);
    } else {
        verticalGradient(c, x, y, w, h, look == Look::Over ? hex(0x2F3846) : hex(0x3A4656), hex(0x222833), clip);
        const Rgb edge = look == Look::Over ? kAccent : kWhite;
        rectFill(c, x, y, w, 1, edge, 1, clip);
        rectFill(c, x, y + h - 1, w, 1, edge, 1, clip);
        rectFill(c, x, y, 1, h, edge, 1, clip);
        rectFill(c, x + w - 1, y, 1, h, edge, 1, clip);
        rectFill(c, x + 1, y + h - 3, w - 2, 2, colour, 0.7f, clip);
    }
}

void drawStep(Canvas& c, const Fonts& f, const Control& k, Look look) {
    const Clip clip = clipOf(k);
    const float x = k.x + 0.5f, y = k.y + 0.5f, w = k.w - 1.0f, h = k.h - 1.0f;
    Rgb digit = kDim;
    if (look == Look::Normal) {
        roundRectFill(c, x, y, w, h, 3, kControl, 1, clip);
        roundRectStroke(c, x, y, w, h, 3, 1, kControlLine, 1, clip);
    } else if (look == Look::Over) {
        roundRectFill(c, x, y, w, h, 3, kHover, 1, clip);
        roundRectStroke(c, x, y, w, h, 3, 1, kAccent, 1, clip);
        digit = kWhite;
    } else {
        roundRectGradient(c, x, y, w, h, 3, kAccent, hex(0x1492C9), 1, clip);
        digit = hex(0x04141C);
    }
    f.tiny.drawCentred(c, k.x, k.y, k.w, k.h, std::to_string(k.extra), digit, 1, clip);
}

void drawFireBar(Canvas& c, const Control& k, Look look) {
    const Clip clip = clipOf(k);
    const float x = k.x + 0.5f, y = k.y + 0.5f, w = k.w - 1.0f, h = k.h - 1.0f;
    if (look == Look::Down) {
        fillShape(c, x - 1, y - 1, x + w + 1, y + h + 1, roundRect(x, y, w, h, 4),
                  [&](float px, float) { return mix(kAccent2, kAccent, (px - x) / w); }, 1, clip);
        rectFill(c, k.x + 2, k.y + 2, k.w - 4, 2, kWhite, 0.25f, clip);
    } else {
        roundRectFill(c, x, y, w, h, 4, hex(0x0F1216), 1, clip);
        roundRectStroke(c, x, y, w, h, 4, 1, look == Look::Over ? kAccent : kControlLine, 1, clip);
    }
    // Ticks every 50 ms.
    for (int t = 1; t < 6; ++t) {
        const int tx = k.x + k.w * t / 6;
        rectFill(c, tx, k.y + k.h - 6, 1, 4, look == Look::Down ? kWhite : kFaint, look == Look::Down ? 0.35f : 1.0f, clip);
    }
}

void drawRoundGlyph(Canvas& c, const Control& k, Look look, bool plus) {
    const Clip clip = clipOf(k);
    const float cx = k.x + k.w / 2.0f, cy = k.y + k.h / 2.0f, r = k.w / 2.0f - 1;
    const Rgb fill = look == Look::Normal ? kControl : look == Look::Over ? kHover : kPressTop;
    fillShape(c, k.x, k.y, k.x + k.w, k.y + k.h, ellipse(cx, cy, r, r), fill, 1, clip);
    fillShape(c, k.x, k.y, k.x + k.w, k.y + k.h, minus(ellipse(cx, cy, r, r), ellipse(cx, cy, r - 1.2f, r - 1.2f)),
              look == Look::Normal ? kControlLine : kAccent, 1, clip);
    const Rgb g = look == Look::Normal ? hex(0xAEB6C2) : kWhite;
    line(c, cx - 5, cy, cx + 5, cy, 2, g, 1, clip);
    if (plus) line(c, cx, cy - 5, cx, cy + 5, 2, g, 1, clip);
}

void drawDisplay(Canvas& c, const Control& k, Look look) {
    const Clip clip = clipOf(k);
    const float x = k.x + 0.5f, y = k.y + 0.5f, w = k.w - 1.0f, h = k.h - 1.0f;
    roundRectFill(c, x, y, w, h, 4, hex(0x07090C), 1, clip);
    roundRectStroke(c, x, y, w, h, 4, 1, look == Look::Normal ? kPanelLine : kAccent, look == Look::Normal ? 1.0f : 0.7f, clip);
}

// The mouse seen from above, in window coordinates of the main page.
constexpr float kMouseCx = 305, kMouseTop = 108, kMouseBottom = 482;

float mouseHalfWidth(float y) {
    const float t = (y - kMouseTop) / (kMouseBottom - kMouseTop);
    if (t < 0 || t > 1) return 0;
    float hw = 77 - 6 * std::sin(kPi * std::clamp((t - 0.28f) / 0.5f, 0.0f, 1.0f));
    if (t < 0.2f) hw *= std::sqrt(std::max(0.0f, 1 - std::pow((0.2f - t) / 0.2f, 2.0f)));
    if (t > 0.78f) hw *= std::sqrt(std::max(0.0f, 1 - std::pow((t - 0.78f) / 0.22f, 2.0f)));
    return hw;
}

Inside mouseBody() {
    return [](float px, float py) { return std::fabs(px - kMouseCx) <= mouseHalfWidth(py); };
}

constexpr float kButtonLine = 238;  // where the two main buttons end

Inside mouseButtonShape(int b) {
    switch (b) {
    case 0:
        return [](float px, float py) { return mouseBody()(px, py) && py < kButtonLine - 0.08f * (kMouseCx - px) && px < 294.5f; };
    case 1:
        return [](float px, float py) { return mouseBody()(px, py) && py < kButtonLine - 0.08f * (px - kMouseCx) && px > 315.5f; };
    case 2: return roundRect(298, 130, 14, 48, 6);
    case 3: return roundRect(214, 272, 13, 36, 6);
    case 4: return roundRect(214, 318, 13, 36, 6);
    case 5: return roundRect(298, 188, 14, 18, 4);
    case 6: return roundRect(298, 214, 14, 18, 4);
    case 7: return roundRect(214, 228, 13, 34, 6);
    default: return roundRect(383, 264, 13, 40, 6);
    }
}

void drawMouseBody(Canvas& c, const Fonts& f) {
    // Shadow, body, edge, the palm's light strip and the brand mark.
    glow(c, kMouseCx, 300, 120, 200, hex(0x000000), 0.5f);
    fillShape(c, 220, kMouseTop - 1, 392, kMouseBottom + 1, mouseBody(),
              [](float px, float py) {
                  const float shade = 0.5f + 0.5f * std::cos((px - kMouseCx) / 80.0f * kPi / 2);
                  return mix(mix(hex(0x14171C), hex(0x2A2F39), shade), hex(0x101216), (py - kMouseTop) / 500);
              });
    const Inside body = mouseBody();
    fillShape(c, 220, kMouseTop - 1, 392, kMouseBottom + 1,
              [body](float px, float py) { return body(px, py) && !(std::fabs(px - kMouseCx) <= mouseHalfWidth(py) - 1.4f); },
              hex(0x48505E));
    // Channel between the buttons and the line where they end.
    rectFill(c, 295, 116, 1, 122, hex(0x07080A));
    rectFill(c, 315, 116, 1, 122, hex(0x07080A));
    line(c, 232, kButtonLine - 5, 294, kButtonLine, 1.2f, hex(0x07080A));
    line(c, 316, kButtonLine, 378, kButtonLine - 5, 1.2f, hex(0x07080A));
    // A light strip down the palm and the mark.
    fillShape(c, 300, 250, 311, 470, roundRect(302.5f, 256, 5, 170, 2.5f),
              [](float, float py) { return mix(kAccent, kAccent2, (py - 256) / 170); }, 0.85f);
    glow(c, kMouseCx, 340, 18, 100, kAccent, 0.18f);
    fillShape(c, 290, 430, 320, 460, polygon({{296, 436}, {302, 436}, {310, 445}, {302, 454}, {296, 454}, {304, 445}}), kAccent, 0.9f);
    (void)f;
}

void drawMouseButton(Canvas& c, const Fonts& f, const Control& k, Look look) {
    const Clip clip = clipOf(k);
    const int b = k.extra;
    const Inside shape = mouseButtonShape(b);
    const bool lit = look == Look::Over;
    if (lit) {
        fillShape(c, k.x, k.y, k.x + k.w, k.y + k.h, shape,
                  [&](float, float py) { return mix(hex(0x3BE0FF), hex(0x1578C9), (py - k.y) / std::max(k.h, 1)); }, 1, clip);
    } else {
        fillShape(c, k.x, k.y, k.x + k.w, k.y + k.h, shape,
                  [&](float px, float py) {
                      const float shade = b <= 1 ? 0.5f + 0.5f * std::cos((px - kMouseCx) / 80.0f * kPi / 2) : 0.6f;
                      return mix(mix(hex(0x1A1E25), hex(0x343A46), shade), hex(0x1A1D23), (py - k.y) / std::max(k.h * 2, 1));
                  },
                  1, clip);
    }
    if (b == 2) {
        for (int r = 0; r < 7; ++r) rectFill(c, 300, 136 + 6 * r, 10, 1, lit ? hex(0x0A4A66) : hex(0x4A5260), 1, clip);
    }
    // The number shared with the function list.
    const std::string n = std::to_string(b + 1);
    const Rgb digit = lit ? hex(0x03141C) : hex(0x9AA3B0);
    int cx = k.x + k.w / 2, cy = k.y + k.h / 2;
    if (b == 0) { cx = 266; cy = 190; }
    if (b == 1) { cx = 344; cy = 190; }
    if (b == 2) return;  // the wheel keeps its ribs; its number is beside the list only
    f.tiny.drawCentred(c, cx - 8, cy - 8, 16, 16, n, digit, 1, clip);
}

void drawDeco(Canvas& c, const Fonts& f, const Control& k, Look look) {
    const Clip clip = clipOf(k);
    const bool lit = look != Look::Normal;
    const float cx = k.x + k.w / 2.0f, cy = k.y + k.h / 2.0f;
    const int e = k.extra;
    if (e >= 100 && e < 104) {  // level colour chip
        const Rgb colour = kLevel[e - 100];
        if (lit) glow(c, cx, cy, 8, 10, colour, 0.6f, clip);
        roundRectFill(c, k.x + 2.5f, k.y + 1.5f, k.w - 5.0f, k.h - 3.0f, 2, mix(colour, kWhite, lit ? 0.3f : 0.0f), lit ? 1.0f : 0.75f, clip);
        return;
    }
    if (e >= 110 && e < 114) {  // end of a bar
        const Rgb colour = mix(kLevel[e - 110], kWhite, 0.3f);
        line(c, cx - 2, cy - 4, cx + 2, cy, 1.5f, colour, lit ? 1.0f : 0.5f, clip);
        line(c, cx + 2, cy, cx - 2, cy + 4, 1.5f, colour, lit ? 1.0f : 0.5f, clip);
        return;
    }
    const Rgb ink = lit ? kAccent : hex(0x7E8796);
    switch (e) {
    case 1: {  // device chip: a small mouse and the model line
        roundRectFill(c, k.x + 0.5f, k.y + 0.5f, k.w - 1.0f, k.h - 1.0f, 6, lit ? kHover2 : hex(0x101318), 1, clip);
        roundRectStroke(c, k.x + 0.5f, k.y + 0.5f, k.w - 1.0f, k.h - 1.0f, 6, 1, lit ? kAccent : kPanelLine, lit ? 0.8f : 1.0f, clip);
        const float mx = k.x + 18.0f;
        fillShape(c, mx - 8, cy - 11, mx + 8, cy + 11, minus(roundRect(mx - 6, cy - 10, 12, 20, 6), roundRect(mx - 4.8f, cy - 8.8f, 9.6f, 17.6f, 4.8f)), ink, 1, clip);
        rectFill(c, static_cast<int>(mx), static_cast<int>(cy) - 7, 1, 5, ink, 1, clip);
        fillShape(c, k.x + 34, cy - 3, k.x + 40, cy + 3, ellipse(k.x + 37.0f, cy, 2.5f, 2.5f), hex(0x2BD67B), 1, clip);
        f.chip.draw(c, k.x + 46, static_cast<int>(cy) + 4, "K9  \xC2\xB7  4800 DPI", lit ? kWhite : hex(0xAEB6C2), 1, clip);
        return;
    }
    case 2: {  // bulb with rays
        if (lit) glow(c, cx, cy - 4, 46, 30, hex(0xFFD36B), 0.35f, clip);
        fillShape(c, cx - 12, cy - 22, cx + 12, cy + 6, ellipse(cx, cy - 8, 10, 11), lit ? hex(0xFFE3A0) : hex(0x4A5160), 1, clip);
        roundRectFill(c, cx - 5, cy + 2, 10, 10, 2, lit ? hex(0xC9D1DC) : hex(0x3A414E), 1, clip);
        for (int r = 0; r < 7; ++r) {
            const float a = kPi * (1.1f + 0.8f * r / 6.0f);
            line(c, cx + std::cos(a) * 16, cy - 8 + std::sin(a) * 16, cx + std::cos(a) * 22, cy - 8 + std::sin(a) * 22, 1.5f,
                 lit ? hex(0xFFD36B) : kFaint, 1, clip);
        }
        return;
    }
    case 3:  // pointer arrow
        fillShape(c, k.x, k.y, k.x + k.w, k.y + k.h,
                  polygon({{cx - 6, cy - 9}, {cx + 6, cy + 2}, {cx + 1, cy + 2}, {cx + 4, cy + 9}, {cx + 1, cy + 10}, {cx - 2, cy + 3}, {cx - 6, cy + 7}}),
                  ink, 1, clip);
        return;
    case 4:  // mouse with wheel
        fillShape(c, k.x, k.y, k.x + k.w, k.y + k.h, minus(roundRect(cx - 6, cy - 10, 12, 20, 6), roundRect(cx - 4.6f, cy - 8.6f, 9.2f, 17.2f, 4.6f)), ink, 1, clip);
        roundRectFill(c, cx - 1.2f, cy - 7, 2.4f, 6, 1.2f, ink, 1, clip);
        return;
    default: {  // feature badges: a hexagon with a symbol
        std::vector<Pt> hexagon;
        for (int i = 0; i < 6; ++i) {
            const float a = kPi / 3 * i + kPi / 6;
            hexagon.push_back(Pt{cx + 21 * std::cos(a), cy + 21 * std::sin(a)});
        }
        std::vector<Pt> innerHex;
        for (int i = 0; i < 6; ++i) {
            const float a = kPi / 3 * i + kPi / 6;
            innerHex.push_back(Pt{cx + 19.5f * std::cos(a), cy + 19.5f * std::sin(a)});
        }
        if (lit) glow(c, cx, cy, 23, 23, kAccent, 0.3f, clip);
        fillShape(c, k.x, k.y, k.x + k.w, k.y + k.h, polygon(innerHex), lit ? hex(0x112A35) : hex(0x14181E), 1, clip);
        fillShape(c, k.x, k.y, k.x + k.w, k.y + k.h, minus(polygon(hexagon), polygon(innerHex)), lit ? kAccent : kControlLine, 1, clip);
        if (e == 5) {  // play: macros
            fillShape(c, cx - 8, cy - 8, cx + 8, cy + 8, polygon({{cx - 5, cy - 7}, {cx + 7, cy}, {cx - 5, cy + 7}}), ink, 1, clip);
        } else if (e == 6) {  // keyboard
            fillShape(c, cx - 11, cy - 7, cx + 11, cy + 7, minus(roundRect(cx - 10, cy - 6, 20, 12, 2), roundRect(cx - 8.8f, cy - 4.8f, 17.6f, 9.6f, 1)), ink, 1, clip);
            for (int i = 0; i < 4; ++i) rectFill(c, static_cast<int>(cx) - 7 + 4 * i, static_cast<int>(cy) - 3, 2, 2, ink, 1, clip);
            rectFill(c, static_cast<int>(cx) - 5, static_cast<int>(cy) + 1, 10, 2, ink, 1, clip);
        } else if (e == 7) {  // stopwatch
            fillShape(c, cx - 10, cy - 10, cx + 10, cy + 10, minus(ellipse(cx, cy + 1, 8, 8), ellipse(cx, cy + 1, 6.6f, 6.6f)), ink, 1, clip);
            line(c, cx, cy + 1, cx + 3, cy - 3, 1.4f, ink, 1, clip);
            rectFill(c, static_cast<int>(cx) - 2, static_cast<int>(cy) - 10, 4, 2, ink, 1, clip);
        } else {  // crosshair
            fillShape(c, cx - 10, cy - 10, cx + 10, cy + 10, minus(ellipse(cx, cy, 7, 7), ellipse(cx, cy, 5.6f, 5.6f)), ink, 1, clip);
            line(c, cx - 10, cy, cx - 4, cy, 1.4f, ink, 1, clip);
            line(c, cx + 4, cy, cx + 10, cy, 1.4f, ink, 1, clip);
            line(c, cx, cy - 10, cx, cy - 4, 1.4f, ink, 1, clip);
            line(c, cx, cy + 4, cx, cy + 10, 1.4f, ink, 1, clip);
        }
        return;
    }
    }
}

void drawPreview(Canvas& c, const Control& k, Glow glowLook) {
    const Clip clip = clipOf(k);
    const Rgb colours[5] = {Rgb{255, 0, 255}, Rgb{255, 0, 0}, Rgb{128, 0, 255}, hex(0x3A3F48), Rgb{0, 0, 255}};
    const bool unlit = glowLook == Glow::Unlit;
    const Rgb colour = colours[static_cast<int>(glowLook)];
    const Rgb bright = unlit ? colour : mix(colour, kWhite, 0.35f);
    roundRectFill(c, k.x + 0.5f, k.y + 0.5f, k.w - 1.0f, k.h - 1.0f, 10, hex(0x08090C), 1, clip);
    roundRectStroke(c, k.x + 0.5f, k.y + 0.5f, k.w - 1.0f, k.h - 1.0f, 10, 1, kPanelLine, 1, clip);
    const float cx = k.x + k.w / 2.0f, cy = k.y + k.h / 2.0f + 6;
    if (!unlit) {
        glow(c, cx, cy, 150, 130, colour, 0.45f, clip);
        // Reflection on the desk.
        glow(c, cx, k.y + k.h - 26.0f, 120, 16, colour, 0.35f, clip);
    }
    // A large mouse silhouette with the lit strips and logo.
    auto body = [cx, cy](float px, float py) {
        const float t = (py - (cy - 120)) / 240.0f;
        if (t < 0 || t > 1) return false;
        float hw = 58 - 5 * std::sin(kPi * std::clamp((t - 0.28f) / 0.5f, 0.0f, 1.0f));
        if (t < 0.2f) hw *= std::sqrt(std::max(0.0f, 1 - std::pow((0.2f - t) / 0.2f, 2.0f)));
        if (t > 0.78f) hw *= std::sqrt(std::max(0.0f, 1 - std::pow((t - 0.78f) / 0.22f, 2.0f)));
        return std::fabs(px - cx) <= hw;
    };
    fillShape(c, cx - 70, cy - 125, cx + 70, cy + 125, body,
              [&](float px, float py) {
                  const float shade = 0.5f + 0.5f * std::cos((px - cx) / 60.0f * kPi / 2);
                  return mix(mix(hex(0x121418), hex(0x2B303A), shade), hex(0x0E1013), (py - cy + 120) / 300);
              },
              1, clip);
    // Edge light all around the body.
    fillShape(c, cx - 70, cy - 125, cx + 70, cy + 125,
              [&](float px, float py) {
                  if (!body(px, py)) return false;
                  for (float d : {-2.0f, 2.0f})
                      if (!body(px + d, py) || !body(px, py + d)) return true;
                  return false;
              },
              bright, unlit ? 0.8f : 1.0f, clip);
    line(c, cx, cy - 118, cx, cy - 30, 1.2f, hex(0x07080A), 1, clip);
    fillShape(c, cx - 4, cy - 95, cx + 4, cy - 55, roundRect(cx - 3.5f, cy - 92, 7, 30, 3.5f), unlit ? hex(0x2A2E35) : bright, 1, clip);
    fillShape(c, cx - 4, cy + 10, cx + 4, cy + 90, roundRect(cx - 2.5f, cy + 10, 5, 70, 2.5f), unlit ? hex(0x2A2E35) : bright, 1, clip);
    if (!unlit) glow(c, cx, cy + 50, 26, 70, colour, 0.5f, clip);
    const float lx = cx, ly = cy + 96;
    fillShape(c, lx - 14, ly - 14, lx + 14, ly + 14,
              polygon({{lx - 10, ly - 9}, {lx - 2, ly - 9}, {lx + 8, ly}, {lx - 2, ly + 9}, {lx - 10, ly + 9}, {lx, ly}}),
              unlit ? hex(0x2A2E35) : bright, 1, clip);
}

// ---- Page backgrounds.

void drawChrome(Canvas& c, const Fonts& f) {
    const SkinDescription& d = description();
    const std::vector<Pt> outline = mainOutline(d.main);
    c.fill(kGround);
    fillShape(c, 0, 0, c.width(), c.height(), polygon(outline),
              [&](float, float py) { return mix(kBodyTop, kBodyBottom, py / c.height()); });
    // Header band and its light line.
    fillShape(c, 0, 0, c.width(), 62, both(polygon(outline), [](float, float py) { return py < 62; }),
              [](float, float py) { return mix(hex(0x1B1F27), hex(0x13161C), py / 62); });
    rectFill(c, 14, 62, c.width() - 28, 1, hex(0x262B35));
    for (int x = 200; x < 600; ++x) rectFill(c, x, 62, 1, 1, kAccent, 0.6f * std::sin(kPi * (x - 200) / 400.0f));
    // Side bar and content panels.
    roundRectFill(c, 16.5f, 70.5f, 168, 440, 8, kPanel);
    roundRectStroke(c, 16.5f, 70.5f, 168, 440, 8, 1, kPanelLine);
    roundRectFill(c, 192.5f, 66.5f, 595, 444, 10, hex(0x101318));
    roundRectStroke(c, 192.5f, 66.5f, 595, 444, 10, 1, kPanelLine);
    f.small.draw(c, 30, 92, "PROFILES", kDim);
    rectFill(c, 28, 320, 148, 1, kPanelLine);
    rectFill(c, 28, 462, 148, 1, kPanelLine);
    // Window border: a thin accent line along the outline.
    outlineBorder(c, outline, 1.6f, hex(0x1E8FB0), 0.9f);
    // Corner accents.
    fillShape(c, 0, 0, 60, 60, polygon({{20, 0}, {52, 0}, {48, 4}, {18, 4}, {4, 18}, {4, 48}, {0, 52}, {0, 20}}), kAccent);
    fillShape(c, 740, 500, 800, 560, polygon({{800, 530}, {770, 560}, {740, 560}, {744, 556}, {768, 556}, {796, 528}, {796, 504}, {800, 500}}), kAccent);
}

void sectionMark(Canvas& c, int x, int y) { rectFill(c, x, y + 3, 3, 12, kAccent); }

void drawMainBackground(Canvas& c, const Fonts& f) {
    drawMouseBody(c, f);
    const SkinDescription& d = description();
    // Numbered badges beside the function rows, matching the picture.
    for (int b = 0; b < 9; ++b) {
        const Control& row = d.mainControls[25 + b];
        const float cx = row.x - 13.0f, cy = row.y + row.h / 2.0f;
        fillShape(c, cx - 10, cy - 10, cx + 10, cy + 10, ellipse(cx, cy, 9, 9), hex(0x1A2A33));
        fillShape(c, cx - 10, cy - 10, cx + 10, cy + 10, minus(ellipse(cx, cy, 9, 9), ellipse(cx, cy, 8, 8)), hex(0x1E8FB0));
        f.tiny.drawCentred(c, static_cast<int>(cx) - 9, static_cast<int>(cy) - 9, 18, 18, std::to_string(b + 1), kAccent);
    }
    sectionMark(c, 410, 74);
    sectionMark(c, 648, 74);
    sectionMark(c, 410, 350);
    // Tip card.
    roundRectFill(c, 650.5f, 176.5f, 134, 82, 6, hex(0x0E1115));
    roundRectStroke(c, 650.5f, 176.5f, 134, 82, 6, 1, kPanelLine);
    // Bar rails.
    for (int L = 0; L < 4; ++L) rectFill(c, 556, 372 + 30 * L + 24, 216, 1, hex(0x1A1E25));
    // Scale ticks under slots 0, 2, ..., 10 and a separator above the DPI block.
    for (int s = 0; s < 12; s += 2) rectFill(c, 556 + 18 * s + 9, 488, 1, 3, kFaint);
    rectFill(c, 410, 342, 372, 1, kPanelLine);
}

void drawAdvancedBackground(Canvas& c, const Fonts& f) {
    const SkinDescription& d = description();
    // Child controls: a black well with a frame just outside the box, so the
    // frame stays when the control covers its box.
    for (const Control* k : {&d.macroListBox, &d.eventListBox, &d.nameBox, &d.repeatBox}) {
        roundRectStroke(c, k->x - 2.5f, k->y - 2.5f, k->w + 5.0f, k->h + 5.0f, 4, 1, hex(0x2C3440));
        rectFill(c, k->x - 1, k->y - 1, k->w + 2, k->h + 2, hex(0x000000));
    }
    sectionMark(c, 194, 74);
    sectionMark(c, 356, 74);
    sectionMark(c, 560, 74);
    sectionMark(c, 560, 150);
    sectionMark(c, 560, 226);
    rectFill(c, 556, 80, 1, 300, kPanelLine);
    rectFill(c, 200, 438, 346, 1, kPanelLine);
    roundRectFill(c, 562.5f, 318.5f, 218, 70, 8, hex(0x0E1115));
    roundRectStroke(c, 562.5f, 318.5f, 218, 70, 8, 1, kPanelLine);
    f.tiny.draw(c, 572, 400, "MACRO  \xC2\xB7  KEYS  \xC2\xB7  TIMING  \xC2\xB7  AIM", kFaint);
}

void drawColourBackground(Canvas& c, const Fonts& f) {
    sectionMark(c, 200, 74);
    sectionMark(c, 200, 340);
    sectionMark(c, 414, 74);
    // The four level colours, numbered.
    for (int L = 0; L < 4; ++L) {
        const float x = 210.0f + 48 * L, y = 364;
        glow(c, x + 20, y + 14, 26, 18, kLevel[L], 0.35f);
        roundRectFill(c, x, y, 40, 28, 5, kLevel[L]);
        roundRectStroke(c, x, y, 40, 28, 5, 1, mix(kLevel[L], kWhite, 0.45f));
        f.tiny.drawCentred(c, static_cast<int>(x), static_cast<int>(y), 40, 28, std::to_string(L + 1), kWhite);
    }
}

void drawControl(Canvas& c, const Fonts& f, const Control& k, Look look, Glow glowLook) {
    switch (k.kind) {
    case Kind::Button:
        if (k.extra == 2 && look == Look::Down) {
            // Recording: the record button turns red while it runs.
            const Clip clip = clipOf(k);
            roundRectGradient(c, k.x + 0.5f, k.y + 0.5f, k.w - 1.0f, k.h - 1.0f, 6, hex(0x7A1B2A), hex(0x451019), 1, clip);
            roundRectStroke(c, k.x + 0.5f, k.y + 0.5f, k.w - 1.0f, k.h - 1.0f, 6, 1.2f, hex(0xFF5A6A), 1, clip);
        } else {
            drawButton(c, k, look, k.extra == 1);
        }
        if (k.extra == 2) drawRecordDot(c, k, look);
        break;
    case Kind::Tab: drawTab(c, k, look); break;
    case Kind::Profile: drawProfile(c, k, look); break;
    case Kind::Pill: drawPill(c, f, k, look); break;
    case Kind::Minimise: drawWindowButton(c, k, look, false); break;
    case Kind::Close: drawWindowButton(c, k, look, true); break;
    case Kind::Logo: drawLogo(c, f, k, look); break;
    case Kind::Link: drawLink(c, k, look); break;
    case Kind::Label: break;
    case Kind::FunctionRow: drawFunctionRow(c, k, look); break;
    case Kind::Option: drawOption(c, k, look); break;
    case Kind::LevelSelect: drawLevelSelect(c, k, look); break;
    case Kind::Toggle: drawToggle(c, k, look); break;
    case Kind::ToggleRow: drawToggleRow(c, k, look); break;
    case Kind::Slot: drawSlot(c, k, look); break;
    case Kind::Deco: drawDeco(c, f, k, look); break;
    case Kind::MouseButton: drawMouseButton(c, f, k, look); break;
    case Kind::Step: drawStep(c, f, k, look); break;
    case Kind::FireBar: drawFireBar(c, k, look); break;
    case Kind::Plus: drawRoundGlyph(c, k, look, true); break;
    case Kind::Minus: drawRoundGlyph(c, k, look, false); break;
    case Kind::Display: drawDisplay(c, k, look); break;
    case Kind::Preview: drawPreview(c, k, glowLook); break;
    case Kind::Child: break;
    }
}

}  // namespace

Fonts::Fonts(const std::string& dejavu, const std::string& wqy)
    : logo(dejavu + "/DejaVuSans-Bold.ttf", 24),
      tiny(dejavu + "/DejaVuSans-Bold.ttf", 10),
      small(dejavu + "/DejaVuSans-Bold.ttf", 11),
      chip(dejavu + "/DejaVuSans-Bold.ttf", 11),
      captionEn(dejavu + "/DejaVuSansMono.ttf", 13),
      captionCn(wqy, 12),
      cjk(wqy, 13) {}

std::vector<Pt> mainOutline(const Size& s) {
    const float w = static_cast<float>(s.w), h = static_cast<float>(s.h);
    return {{20, 0},      {230, 0},     {240, 7},     {w - 200, 7}, {w - 190, 0}, {w - 20, 0},
            {w, 20},      {w, h - 30},  {w - 30, h},  {w - 250, h}, {w - 258, h - 6}, {258, h - 6},
            {250, h},     {30, h},      {0, h - 30},  {0, 20}};
}

std::vector<Pt> warningOutline(const Size& s) {
    const float w = static_cast<float>(s.w), h = static_cast<float>(s.h);
    return {{14, 0}, {w - 14, 0}, {w, 14}, {w, h - 14}, {w - 14, h}, {14, h}, {0, h - 14}, {0, 14}};
}

Canvas renderMask(const std::vector<Pt>& outline, const Size& size) {
    // Pure black inside, pure white outside, decided at pixel centres: no
    // grey edge that the mask rule could read either way.
    Canvas c(size.w, size.h, kWhite);
    const Inside in = polygon(outline);
    for (int y = 0; y < size.h; ++y)
        for (int x = 0; x < size.w; ++x)
            if (in(x + 0.5f, y + 0.5f)) c.setPixel(x, y, Rgb{0, 0, 0});
    return c;
}

Canvas renderPage(const Fonts& f, Page page, Look look, Glow glowLook) {
    const SkinDescription& d = description();
    Canvas c(d.main.w, d.main.h);
    drawChrome(c, f);
    const std::vector<Control>* table = nullptr;
    switch (page) {
    case Page::Main:
        drawMainBackground(c, f);
        table = &d.mainControls;
        break;
    case Page::Advanced:
        drawAdvancedBackground(c, f);
        table = &d.advancedControls;
        break;
    default:
        drawColourBackground(c, f);
        table = &d.colourControls;
        break;
    }
    for (int i = 0; i < 20; ++i) drawControl(c, f, d.mainControls[i], look, glowLook);
    for (const Control& k : *table) {
        if (page == Page::Main && k.index < 20) continue;
        drawControl(c, f, k, look, glowLook);
    }
    return c;
}

Canvas renderMenu(const Fonts& f, int rows, const Size& size, int rowHeight, bool arrows, Look look) {
    Canvas c(size.w, size.h);
    verticalGradient(c, 0, 0, size.w, size.h, hex(0x181C23), hex(0x111318));
    for (int r = 0; r < rows; ++r) {
        const int y = r * rowHeight;
        const Clip clip = Clip::box(0, y, size.w, rowHeight);
        if (r > 0) rectFill(c, 8, y, size.w - 16, 1, hex(0x242A33), 1, clip);
        if (look == Look::Over) {
            verticalGradient(c, 1, y + 1, size.w - 2, rowHeight - 1, hex(0x0F4A5E), hex(0x0A2F3C), clip);
            rectFill(c, 1, y + 3, 3, rowHeight - 5, kAccent, 1, clip);
        } else if (look == Look::Down) {
            verticalGradient(c, 1, y + 1, size.w - 2, rowHeight - 1, hex(0x178FB2), hex(0x0D5A72), clip);
            rectFill(c, 1, y + 3, 3, rowHeight - 5, kWhite, 1, clip);
        }
        if (arrows && r >= 6 && r <= 9) {
            const float ax = size.w - 16.0f, ay = y + rowHeight / 2.0f;
            const Rgb ink = look == Look::Normal ? kDim : kWhite;
            line(c, ax - 2, ay - 4, ax + 2, ay, 1.5f, ink, 1, clip);
            line(c, ax + 2, ay, ax - 2, ay + 4, 1.5f, ink, 1, clip);
        }
    }
    // Frame; the closing line under the last row is part of it.
    rectFill(c, 0, 0, size.w, 1, hex(0x2E3642));
    rectFill(c, 0, 0, 1, size.h, hex(0x2E3642));
    rectFill(c, size.w - 1, 0, 1, size.h, hex(0x2E3642));
    for (int r = 1; r <= rows; ++r)
        if (r * rowHeight < size.h) rectFill(c, 0, r * rowHeight, size.w, 1, r == rows ? kAccent : hex(0x242A33));
    (void)f;
    return c;
}

Canvas renderWarning(const Fonts& f, Look look) {
    const SkinDescription& d = description();
    Canvas c(d.warning.w, d.warning.h);
    const std::vector<Pt> outline = warningOutline(d.warning);
    c.fill(kGround);
    fillShape(c, 0, 0, c.width(), c.height(), polygon(outline),
              [&](float, float py) { return mix(hex(0x1C1F26), hex(0x0F1115), py / c.height()); });
    // Hazard stripe along the top and the warning sign.
    for (int x = -20; x < c.width() + 20; x += 16)
        fillShape(c, x, 0, x + 20, 7, both(polygon(outline), polygon({{float(x), 6}, {float(x + 8), 6}, {float(x + 14), 0}, {float(x + 6), 0}})),
                  hex(0xFFB020), 0.9f);
    const float cx = c.width() / 2.0f, cy = 36;
    glow(c, cx, cy, 40, 24, hex(0xFF3B3B), 0.25f);
    fillShape(c, cx - 16, cy - 16, cx + 16, cy + 14, polygon({{cx, cy - 14}, {cx + 15, cy + 12}, {cx - 15, cy + 12}}), hex(0xFF3B3B));
    fillShape(c, cx - 16, cy - 16, cx + 16, cy + 14, polygon({{cx, cy - 9}, {cx + 11, cy + 9.5f}, {cx - 11, cy + 9.5f}}), hex(0x1A1D23));
    roundRectFill(c, cx - 1.3f, cy - 4, 2.6f, 8, 1.3f, hex(0xFF3B3B));
    fillShape(c, cx - 2, cy + 5, cx + 2, cy + 9, ellipse(cx, cy + 7, 1.5f, 1.5f), hex(0xFF3B3B));
    outlineBorder(c, outline, 1.5f, hex(0xC8323F), 0.9f);
    for (const Control& k : d.warningControls)
        if (k.kind == Kind::Button) drawButton(c, k, look);
    (void)f;
    return c;
}

// ---- Previews: the images composed as the program paints them.

namespace {

void caption(Canvas& c, const Fonts& f, bool english, const Control& k, const std::string& text, Rgb colour, bool left = false) {
    const Font& font = english ? f.captionEn : f.captionCn;
    if (left) {
        const int asc = font.ascent();
        const int lh = font.lineHeight();
        font.draw(c, k.x + 5, k.y + (k.h - lh) / 2 + asc, text, colour);
    } else {
        font.drawCentred(c, k.x, k.y, k.w, k.h, text, colour);
    }
}

void copyFrom(Canvas& n, const Canvas& from, const Control& k) { korvel::copyBox(n, from, korvel::SkinBox{k.x, k.y, k.w, k.h}); }

}  // namespace

Canvas previewPage(const Fonts& f, Page page, bool english) {
    const SkinDescription& d = description();
    const Glow g = Glow::Pink;
    Canvas n = renderPage(f, page, Look::Normal, g);
    const Canvas o = renderPage(f, page, Look::Over, g);
    const Canvas dn = renderPage(f, page, Look::Down, g);
    auto text = [&](const Control& k) { return english ? k.en : k.cn; };
    const int tab = page == Page::Main ? 9 : page == Page::Advanced ? 10 : 11;
    if (page == Page::Main) {
        // A typical state: hovering button 3's entry, factory DPI bars.
        const int hover = 27;
        copyFrom(n, o, d.mainControls[hover]);
        copyFrom(n, dn, d.mainControls[54]);
        const int dpiSet[4] = {4, 6, 8, 10};
        for (int L = 0; L < 4; ++L) {
            for (int s = 0; s <= dpiSet[L]; ++s) {
                const Control& k = d.mainControls[66 + 12 * L + s];
                n.fillRect(k.x + 1, k.y + 1, k.w - 2, k.h - 1, kLevel[L]);
            }
            if (L != 2) copyFrom(n, dn, d.mainControls[46 + L]);
        }
        copyFrom(n, dn, d.mainControls[41]);
        copyFrom(n, o, d.mainControls[hover + 90]);
    } else if (page == Page::Advanced) {
        copyFrom(n, dn, d.advancedControls[8 + 4]);
        copyFrom(n, dn, d.advancedControls[18 + 2]);
        const Control& bar = d.advancedControls[30];
        korvel::copyBlock(n, bar.x, bar.y, dn, bar.x, bar.y, bar.w * 50 / 300, bar.h);
        copyFrom(n, dn, d.advancedControls[7]);
        copyFrom(n, o, d.advancedControls[2]);
    } else {
        copyFrom(n, dn, d.colourControls[0]);
        copyFrom(n, o, d.colourControls[2]);
    }
    copyFrom(n, dn, d.mainControls[4]);
    copyFrom(n, dn, d.mainControls[tab]);
    copyFrom(n, dn, d.mainControls[english ? 18 : 17]);
    copyFrom(n, o, d.mainControls[3]);
    const char* functions[9] = {"Left Click", "Right Click", "Middle Click", "Forward", "Back", "DPI Down", "DPI Up", "Sniper", "OFF"};
    const char* functionsCn[9] = {"左键", "右键", "中键", "前进", "后退", "DPI 减", "DPI 加", "狙击键", "无功能"};
    for (int i = 0; i < 54; ++i) {
        const Control& k = d.mainControls[i];
        if (page == Page::Main && i >= 25 && i <= 33) {
            caption(n, f, english, k, english ? functions[i - 25] : functionsCn[i - 25], i == 27 ? Rgb{255, 0, 0} : kWhite, true);
        } else if (i < 20 || page == Page::Main) {
            caption(n, f, english, k, text(k), kWhite);
        }
    }
    if (page == Page::Colour)
        for (const Control& k : d.colourControls) caption(n, f, english, k, k.index == 9 ? "1000" : text(k), kWhite);
    if (page == Page::Advanced) {
        for (const Control& k : d.advancedControls) caption(n, f, english, k, text(k), k.index == 2 ? Rgb{255, 0, 0} : kWhite);
        // What the child controls would show.
        const char* macros[3] = {"Reload", "Combo A", "Build"};
        for (int i = 0; i < 3; ++i) f.captionEn.draw(n, d.macroListBox.x + 4, d.macroListBox.y + 14 + 16 * i, macros[i], kWhite);
        f.captionEn.draw(n, d.eventListBox.x + 4, d.eventListBox.y + 14, "A  down  30ms", kWhite);
        f.captionEn.draw(n, d.eventListBox.x + 4, d.eventListBox.y + 30, "A  up    30ms", kWhite);
        f.captionEn.draw(n, d.repeatBox.x + 4, d.repeatBox.y + 16, "1", kWhite);
    }
    return n;
}

Canvas previewMenu(const Fonts& f, bool english, bool subMenu) {
    const SkinDescription& d = description();
    const Size size = subMenu ? d.subMenu : d.menu;
    const int rows = subMenu ? 10 : 10;
    Canvas n = renderMenu(f, subMenu ? 12 : 10, size, d.menuRow, !subMenu, Look::Normal);
    const Canvas o = renderMenu(f, subMenu ? 12 : 10, size, d.menuRow, !subMenu, Look::Over);
    const int hover = 3;
    korvel::copyBlock(n, 0, (hover - 1) * d.menuRow, o, 0, (hover - 1) * d.menuRow, size.w, d.menuRow);
    const Font& font = english ? f.captionEn : f.captionCn;
    for (int r = 1; r <= rows; ++r) {
        const int code = subMenu ? 20 + r : r;
        const std::string& t = english ? d.functionEn[code] : d.functionCn[code];
        font.drawCentred(n, 0, (r - 1) * d.menuRow, size.w, d.menuRow, t, r == hover ? Rgb{255, 0, 0} : kWhite);
    }
    if (subMenu) {  // what is shown: ten rows and the closing line
        Canvas shown(size.w, rows * d.menuRow + 1);
        korvel::copyBlock(shown, 0, 0, n, 0, 0, size.w, rows * d.menuRow + 1);
        return shown;
    }
    return n;
}

Canvas previewWarning(const Fonts& f, bool english) {
    const SkinDescription& d = description();
    Canvas n = renderWarning(f, Look::Normal);
    const Canvas o = renderWarning(f, Look::Over);
    copyFrom(n, o, d.warningControls[0]);
    for (const Control& k : d.warningControls) caption(n, f, english, k, english ? k.en : k.cn, Rgb{255, 0, 0});
    const Canvas mask = renderMask(warningOutline(d.warning), d.warning);
    for (int y = 0; y < n.height(); ++y)
        for (int x = 0; x < n.width(); ++x)
            if (mask.pixel(x, y).r > 100) n.setPixel(x, y, Rgb{255, 255, 255});
    return n;
}

}  // namespace skingen
