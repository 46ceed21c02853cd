#pragma once
// Set<E>: the classic "set of enumeration" with up to 64 members, stored as a bit mask whose
// bit n stands for the member of ordinal n (the layout the form streams use).

#include <cstdint>
#include <initializer_list>

namespace vcl {

template <class E> class Set {
public:
    constexpr Set() = default;
    constexpr Set(std::initializer_list<E> items) {
        for (E e : items) bits_ |= bit(e);
    }
    static constexpr Set FromMask(uint64_t mask) {
        Set s;
        s.bits_ = mask;
        return s;
    }
    constexpr uint64_t Mask() const { return bits_; }
    constexpr bool Contains(E e) const { return (bits_ & bit(e)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    Set& Include(E e) {
        bits_ |= bit(e);
        return *this;
    }
    Set& Exclude(E e) {
        bits_ &= ~bit(e);
        return *this;
    }
    Set& operator<<(E e) { return Include(e); }
    Set& operator>>(E e) { return Exclude(e); }
    constexpr Set operator+(Set o) const { return FromMask(bits_ | o.bits_); }
    constexpr Set operator-(Set o) const { return FromMask(bits_ & ~o.bits_); }
    constexpr Set operator*(Set o) const { return FromMask(bits_ & o.bits_); }
    constexpr bool operator==(Set o) const { return bits_ == o.bits_; }
    constexpr bool operator!=(Set o) const { return bits_ != o.bits_; }

private:
    static constexpr uint64_t bit(E e) { return uint64_t{1} << static_cast<unsigned>(e); }
    uint64_t bits_ = 0;
};

} // namespace vcl
