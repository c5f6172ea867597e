// The material constants a material dialog writes into boxes 0, 1 and 2.
#pragma once

#include <string>

namespace dilatany {

struct MaterialPreset {
    double alpha;   // thermal expansion coefficient, 1/K
    long modulus;   // modulus of elasticity, MPa
    int strength;   // strength, MPa

    /// The three box texts, for Text1(0), Text1(1) and Text1(2).
    std::string alphaText() const;
    std::string modulusText() const;
    std::string strengthText() const;
};

inline constexpr MaterialPreset kSteel{0.000012, 210000, 235};
inline constexpr MaterialPreset kPolypropylene{0.00012, 1150, 27};

} // namespace dilatany
