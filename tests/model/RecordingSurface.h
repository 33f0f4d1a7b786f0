#pragma once

#include "model/DrawingSurface.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// A drawing surface that writes every call down as one line of text, so that a test can state exactly
// what an object draws: "pen 0,0,0 1", "brush none", "rect 20,0,40,16", "text 6,8 \"^^\"" ...
// Characters outside printable ASCII appear as \xNN.
class RecordingSurface final : public DrawingSurface {
public:
    std::vector<std::string> calls;
    // Faces that selectFont reports missing.
    std::vector<std::string> missingFaces;

    static std::string colour(const Colour& c) {
        return std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue);
    }
    static std::string rect(const SurfaceRect& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
               std::to_string(r.bottom);
    }
    static std::string point(const SurfacePoint& p) {
        return std::to_string(p.x) + "," + std::to_string(p.y);
    }
    static std::string quoted(std::string_view text) {
        std::string out = "\"";
        for (const char c : text) {
            const auto u = static_cast<unsigned char>(c);
            if (u < 32 || u > 126) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", u);
                out += hex;
            } else {
                out += c;
            }
        }
        return out + "\"";
    }
    // Rows of a pattern as letters: W white, B black, G gray, T teal, S silver, ? anything else.
    static std::string pattern(const BrushPattern& p) {
        std::string out;
        for (const auto& row : p) {
            if (!out.empty()) {
                out += '/';
            }
            for (const Colour& c : row) {
                out += c == kWhite    ? 'W'
                       : c == kBlack  ? 'B'
                       : c == kGray   ? 'G'
                       : c == kTeal   ? 'T'
                       : c == kSilver ? 'S'
                                      : '?';
            }
        }
        return out;
    }

    void setPen(std::optional<Colour> c, std::int32_t width) override {
        calls.push_back(c ? "pen " + colour(*c) + " " + std::to_string(width) : "pen none");
    }
    void setBrush(std::optional<Colour> c) override {
        calls.push_back(c ? "brush " + colour(*c) : "brush none");
    }
    void setPatternBrush(const BrushPattern& p) override { calls.push_back("pattern " + pattern(p)); }
    void setRasterOp(RasterOp op) override {
        calls.push_back(op == RasterOp::CopyPen     ? "rop copy"
                        : op == RasterOp::NotXorPen ? "rop notxor"
                                                    : "rop mask");
    }
    void rectangle(const SurfaceRect& r) override { calls.push_back("rect " + rect(r)); }
    void ellipse(const SurfaceRect& r) override { calls.push_back("ellipse " + rect(r)); }
    void roundRectangle(const SurfaceRect& r, std::int32_t w, std::int32_t h) override {
        calls.push_back("round " + rect(r) + " " + std::to_string(w) + "," + std::to_string(h));
    }
    void polyline(std::span<const SurfacePoint> points) override {
        calls.push_back("polyline" + list(points));
    }
    void polygon(std::span<const SurfacePoint> points) override { calls.push_back("polygon" + list(points)); }
    void line(SurfacePoint from, SurfacePoint to) override {
        calls.push_back("line " + point(from) + " " + point(to));
    }
    void setPixel(SurfacePoint at, Colour c) override {
        calls.push_back("pixel " + point(at) + " " + colour(c));
    }
    void fillRectangle(const SurfaceRect& r, Colour c) override {
        calls.push_back("fill " + rect(r) + " " + colour(c));
    }
    bool selectFont(std::string_view face, std::int32_t height, std::int32_t width) override {
        calls.push_back("font " + std::string(face) + " " + std::to_string(height) + " " +
                        std::to_string(width));
        return std::find(missingFaces.begin(), missingFaces.end(), face) == missingFaces.end();
    }
    void setTextColours(Colour foreground, Colour background) override {
        calls.push_back("colours " + colour(foreground) + " on " + colour(background));
    }
    void text(SurfacePoint at, std::string_view characters) override {
        calls.push_back("text " + point(at) + " " + quoted(characters));
    }

    // The recorded calls that begin with `prefix`.
    std::vector<std::string> only(std::string_view prefix) const {
        std::vector<std::string> out;
        for (const std::string& c : calls) {
            if (c.rfind(prefix, 0) == 0) {
                out.push_back(c);
            }
        }
        return out;
    }
    void clear() { calls.clear(); }

private:
    static std::string list(std::span<const SurfacePoint> points) {
        std::string out;
        for (const SurfacePoint& p : points) {
            out += " " + point(p);
        }
        return out;
    }
};

} // namespace quillon
