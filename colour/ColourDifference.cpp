#include "colour/ColourDifference.h"

#include <array>
#include <cmath>

#include "colour/ColourModel.h"

namespace {

constexpr Extended Pi = 3.141592653589793238462643383279502884L;
constexpr Extended Xn = 0.95047L, Yn = 1, Zn = 1.08883L;

// The 256 linear values of the 8-bit channel levels, in extended precision.
const std::array<Extended, 256>& LinearTable()
{
    static const std::array<Extended, 256> Table = [] {
        std::array<Extended, 256> T{};
        for (int I = 0; I < 256; ++I) {
            const Extended C = static_cast<Extended>(I) / 255;
            T[static_cast<size_t>(I)] = C <= 0.04045L ? C / 12.92L : powl((C + 0.055L) / 1.055L, 2.4L);
        }
        return T;
    }();
    return Table;
}

Extended LabF(Extended T)
{
    constexpr Extended Epsilon = 216.0L / 24389, Kappa = 24389.0L / 27;
    return T > Epsilon ? cbrtl(T) : (Kappa * T + 16) / 116;
}

Extended Radians(Extended Degrees) { return Degrees * Pi / 180; }

// The hue angle of (A, B) in degrees, in [0, 360); 0 for the origin.
Extended HueDegrees(Extended B, Extended A)
{
    if (A == 0 && B == 0) return 0;
    const Extended H = atan2l(B, A) * 180 / Pi;
    return H < 0 ? H + 360 : H;
}

// sqrt(C^7 / (C^7 + 25^7)): how far a chroma is from grey, in the formula's two places.
// The seventh power by multiplication, which costs a tenth of powl.
Extended ChromaWeight(Extended C)
{
    constexpr Extended TwentyFive7 = 6103515625.0L; // 25^7, exact
    const Extended C2 = C * C;
    const Extended C7 = C2 * C2 * C2 * C;
    return sqrtl(C7 / (C7 + TwentyFive7));
}

} // namespace

TLab ColourToLab(TColor Color)
{
    const TColor C = ColorToRGB(Color);
    const auto& Lin = LinearTable();
    const Extended R = Lin[static_cast<size_t>(RedOf(C))], G = Lin[static_cast<size_t>(GreenOf(C))],
                   B = Lin[static_cast<size_t>(BlueOf(C))];
    const Extended X = 0.4124L * R + 0.3576L * G + 0.1805L * B;
    const Extended Y = 0.2126L * R + 0.7152L * G + 0.0722L * B;
    const Extended Z = 0.0193L * R + 0.1192L * G + 0.9505L * B;
    const Extended Fx = LabF(X / Xn), Fy = LabF(Y / Yn), Fz = LabF(Z / Zn);
    return {116 * Fy - 16, 500 * (Fx - Fy), 200 * (Fy - Fz)};
}

Extended DeltaE2000(const TLab& First, const TLab& Second)
{
    // a* stretched near grey, where the eye tells blues apart less than CIELAB says.
    const Extended C1 = sqrtl(First.A * First.A + First.B * First.B);
    const Extended C2 = sqrtl(Second.A * Second.A + Second.B * Second.B);
    const Extended G = 0.5L * (1 - ChromaWeight((C1 + C2) / 2));
    const Extended A1 = (1 + G) * First.A, A2 = (1 + G) * Second.A;
    const Extended Cp1 = sqrtl(A1 * A1 + First.B * First.B), Cp2 = sqrtl(A2 * A2 + Second.B * Second.B);
    const Extended H1 = HueDegrees(First.B, A1), H2 = HueDegrees(Second.B, A2);
    const bool Achromatic = Cp1 * Cp2 == 0;

    const Extended DL = Second.L - First.L, DC = Cp2 - Cp1;
    Extended Dh = 0;
    if (!Achromatic) {
        Dh = H2 - H1;
        if (Dh > 180) Dh = Dh - 360;
        else if (Dh < -180) Dh = Dh + 360;
    }
    const Extended DH = 2 * sqrtl(Cp1 * Cp2) * sinl(Radians(Dh) / 2);

    const Extended LMean = (First.L + Second.L) / 2, CMean = (Cp1 + Cp2) / 2;
    Extended HMean = H1 + H2;
    if (!Achromatic) {
        if (fabsl(H1 - H2) <= 180) HMean = HMean / 2;
        else if (HMean < 360) HMean = (HMean + 360) / 2;
        else HMean = (HMean - 360) / 2;
    }
    const Extended T = 1 - 0.17L * cosl(Radians(HMean - 30)) + 0.24L * cosl(Radians(2 * HMean)) +
                       0.32L * cosl(Radians(3 * HMean + 6)) - 0.20L * cosl(Radians(4 * HMean - 63));
    const Extended Around275 = (HMean - 275) / 25;
    const Extended DTheta = 30 * expl(-(Around275 * Around275));
    const Extended RC = 2 * ChromaWeight(CMean);
    const Extended L50 = (LMean - 50) * (LMean - 50);
    const Extended SL = 1 + 0.015L * L50 / sqrtl(20 + L50);
    const Extended SC = 1 + 0.045L * CMean;
    const Extended SH = 1 + 0.015L * CMean * T;
    const Extended RT = -sinl(Radians(2 * DTheta)) * RC;

    const Extended L = DL / SL, C = DC / SC, H = DH / SH;
    const Extended Sum = L * L + C * C + H * H + RT * C * H;
    return Sum > 0 ? sqrtl(Sum) : 0;
}
