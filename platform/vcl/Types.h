#pragma once
// Points, rectangles and sizes in pixels, as the controls and the widgetset exchange them.

#include <cstdint>

namespace vcl {

using Word = uint16_t;

// Geometry is computed wide and brought back into the range of int, so that absurd sizes (which
// the model keeps as given) end at the limits instead of overflowing.
constexpr int ClampToInt(int64_t V) {
    return V > INT32_MAX ? INT32_MAX : V < INT32_MIN ? INT32_MIN : static_cast<int>(V);
}

struct TPoint {
    int X = 0;
    int Y = 0;
    constexpr TPoint() = default;
    constexpr TPoint(int x, int y) : X(x), Y(y) {}
    constexpr bool operator==(const TPoint& o) const { return X == o.X && Y == o.Y; }
    constexpr bool operator!=(const TPoint& o) const { return !(*this == o); }
};

struct TSize {
    int cx = 0;
    int cy = 0;
    constexpr TSize() = default;
    constexpr TSize(int w, int h) : cx(w), cy(h) {}
    constexpr bool operator==(const TSize& o) const { return cx == o.cx && cy == o.cy; }
};

// Right and Bottom are exclusive, as in the classic framework.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    constexpr TRect() = default;
    constexpr TRect(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}
    constexpr int Width() const { return ClampToInt(int64_t{Right} - Left); }
    constexpr int Height() const { return ClampToInt(int64_t{Bottom} - Top); }
    constexpr TPoint TopLeft() const { return {Left, Top}; }
    constexpr bool Contains(const TPoint& p) const {
        return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
    }
    constexpr bool operator==(const TRect& o) const {
        return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
    }
    constexpr bool operator!=(const TRect& o) const { return !(*this == o); }
};

constexpr TRect Rect(int Left, int Top, int Right, int Bottom) {
    return {Left, Top, Right, Bottom};
}
constexpr TRect Bounds(int Left, int Top, int Width, int Height) {
    return {Left, Top, ClampToInt(int64_t{Left} + Width), ClampToInt(int64_t{Top} + Height)};
}
constexpr TPoint Point(int X, int Y) {
    return {X, Y};
}
constexpr bool PtInRect(const TRect& R, const TPoint& P) {
    return R.Contains(P);
}
inline void InflateRect(TRect& R, int dx, int dy) {
    R.Left = ClampToInt(int64_t{R.Left} - dx);
    R.Top = ClampToInt(int64_t{R.Top} - dy);
    R.Right = ClampToInt(int64_t{R.Right} + dx);
    R.Bottom = ClampToInt(int64_t{R.Bottom} + dy);
}

// Multiplies and divides with rounding to the nearest integer, halves away from zero, without
// overflowing in between. Returns -1 when Denominator is 0 or the magnitude of the result
// exceeds INT_MAX, so that its negation is always an int.
int MulDiv(int Number, int Numerator, int Denominator);

} // namespace vcl

#include <memory>

namespace vcl {

// Lets code that calls out to event handlers find out afterwards whether the object it works on
// was destroyed meanwhile (a click handler may free the button that was clicked).
class TLifeFlag {
public:
    TLifeFlag() : alive_(std::make_shared<bool>(true)) {}
    ~TLifeFlag() { *alive_ = false; }
    TLifeFlag(const TLifeFlag&) = delete;
    TLifeFlag& operator=(const TLifeFlag&) = delete;
    // A token that reads true while the owner of this flag exists.
    std::shared_ptr<const bool> Token() const { return alive_; }

private:
    std::shared_ptr<bool> alive_;
};

} // namespace vcl

namespace vcl {

// Compares object addresses without converting between class types, for notifications about
// components that are already being destroyed.
inline bool SameObject(const void* A, const void* B) {
    return A == B;
}

} // namespace vcl
