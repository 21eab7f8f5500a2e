#pragma once

#include <QtGlobal>
#include <initializer_list>

// A set of the elements of an enumeration, element i kept as bit i, as the upgrade family
// stores its options and attributes.
template <typename Element> class TauSet {
public:
    constexpr TauSet() = default;
    constexpr TauSet(std::initializer_list<Element> elements) {
        for (const Element element : elements)
            FBits |= Bit(element);
    }
    static constexpr TauSet FromBits(quint32 bits) {
        TauSet set;
        set.FBits = bits;
        return set;
    }

    constexpr bool Has(Element element) const { return (FBits & Bit(element)) != 0; }
    constexpr quint32 Bits() const { return FBits; }
    constexpr TauSet operator+(TauSet other) const { return FromBits(FBits | other.FBits); }
    constexpr bool operator==(const TauSet&) const = default;

private:
    static constexpr quint32 Bit(Element element) { return 1u << static_cast<unsigned>(element); }

    quint32 FBits = 0;
};
