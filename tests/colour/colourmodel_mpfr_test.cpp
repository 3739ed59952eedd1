// The colour model against an independent computation of the same algorithm in GNU
// MPFR at 64-bit precision, round to nearest: one rounding per operation, as the
// extended type does.
//
// How it stays exhaustive and fast:
// - Levels to colour: every hue, saturation and brightness level 0..200 (201^3). The
//   reference computes each intermediate once for the levels it depends on (the hue
//   sector, f and 1 - f per hue; 1 - S per saturation; p per saturation and
//   brightness; 1 - S*f and 1 - (1 - f)*S per hue and saturation), so only q, t and
//   their channel levels are computed per triple. The operations and operands are
//   those of the algorithm; only repeated work is shared.
// - Colour to levels: every one of the 16.7 M colours is converted by the code under
//   test. The algorithm's hue reads only max - R, max - G and max - B (d is the largest
//   of them, the branch is the first that is 0), its saturation only max and min, its
//   brightness only max. Colours with equal keys therefore perform identical operations
//   on identical operands, so the reference runs the full algorithm once per key (about
//   200,000 hue keys) on a representative colour and every colour is checked against it.
// - Random samples check the reference's key reasoning (full reference per colour) and
//   HSBtoRGB on arbitrary extended inputs rather than level fractions.

#include <gtest/gtest.h>
#include <mpfr.h>

#include <array>
#include <random>
#include <vector>

#include "colour/ColourModel.h"

namespace {

constexpr mpfr_rnd_t N = MPFR_RNDN;

// An MPFR number with the extended type's 64-bit significand.
struct TMp {
    mpfr_t V;
    TMp() { mpfr_init2(V, 64); }
    explicit TMp(Extended X) : TMp() { mpfr_set_ld(V, X, N); }
    TMp(TMp&& Other) noexcept : TMp() { mpfr_swap(V, Other.V); }
    TMp(const TMp&) = delete;
    TMp& operator=(const TMp&) = delete;
    ~TMp() { mpfr_clear(V); }
    operator mpfr_ptr() { return V; }
    operator mpfr_srcptr() const { return V; }
};

// Trunc(x * 255 + 0.5)
int32_t Level(mpfr_srcptr X)
{
    TMp T;
    mpfr_mul_ui(T, X, 255, N);
    mpfr_add_d(T, T, 0.5, N);
    return static_cast<int32_t>(mpfr_get_si(T, MPFR_RNDZ));
}

// Hue-only part of HSBtoRGB: the sector, f and 1 - f.
struct THuePart {
    long Sector;
    TMp F, OneMinusF;
};

THuePart HuePart(mpfr_srcptr H)
{
    THuePart R;
    TMp Frac, H6, I;
    mpfr_floor(Frac, H);
    mpfr_sub(Frac, H, Frac, N);
    mpfr_mul_ui(H6, Frac, 6, N);
    if (mpfr_cmp_ui(H6, 6) >= 0) mpfr_set_ui(H6, 0, N); // a fraction that rounded up to 1 is red
    mpfr_floor(I, H6);
    mpfr_sub(R.F, H6, I, N);
    R.Sector = mpfr_get_si(H6, MPFR_RNDZ);
    mpfr_ui_sub(R.OneMinusF, 1, R.F, N);
    return R;
}

TColor Pick(long Sector, int32_t B, int32_t P, int32_t Q, int32_t T)
{
    switch (Sector) {
    case 0: return RGBColor(B, T, P);
    case 1: return RGBColor(Q, B, P);
    case 2: return RGBColor(P, B, T);
    case 3: return RGBColor(P, Q, B);
    case 4: return RGBColor(T, P, B);
    default: return RGBColor(B, P, Q);
    }
}

// The whole of HSBtoRGB, for inputs in contract.
TColor RefHSBtoRGB(Extended HX, Extended SX, Extended BX)
{
    TMp H(HX), S(SX), B(BX);
    if (mpfr_zero_p(S.V)) {
        const int32_t V = Level(B);
        return RGBColor(V, V, V);
    }
    THuePart Hp = HuePart(H);
    TMp P, Q, T;
    mpfr_ui_sub(P, 1, S, N);
    mpfr_mul(P, P, B, N);
    mpfr_mul(Q, S, Hp.F, N);
    mpfr_ui_sub(Q, 1, Q, N);
    mpfr_mul(Q, Q, B, N);
    mpfr_mul(T, Hp.OneMinusF, S, N);
    mpfr_ui_sub(T, 1, T, N);
    mpfr_mul(T, T, B, N);
    return Pick(Hp.Sector, Level(B), Level(P), Level(Q), Level(T));
}

// The whole of colour to levels.
TLevels RefColorToLevels(int32_t R, int32_t G, int32_t B)
{
    const int32_t Max = std::max({R, G, B}), Min = std::min({R, G, B});
    TMp H, S, V, D, Rc, Gc, Bc, Scaled;
    mpfr_set_si(V, Max, N);
    mpfr_div_ui(V, V, 255, N);
    if (Max == 0) {
        mpfr_set_ui(S, 0, N);
    } else {
        mpfr_set_si(S, Max - Min, N);
        mpfr_div_si(S, S, Max, N);
    }
    if (mpfr_zero_p(S.V)) {
        mpfr_set_ui(H, 0, N);
    } else {
        mpfr_set_si(D, Max - Min, N);
        mpfr_set_si(Rc, Max - R, N);
        mpfr_div(Rc, Rc, D, N);
        mpfr_set_si(Gc, Max - G, N);
        mpfr_div(Gc, Gc, D, N);
        mpfr_set_si(Bc, Max - B, N);
        mpfr_div(Bc, Bc, D, N);
        if (R == Max) {
            mpfr_sub(H, Bc, Gc, N);
        } else if (G == Max) {
            mpfr_add_ui(H, Rc, 2, N);
            mpfr_sub(H, H, Bc, N);
        } else {
            mpfr_add_ui(H, Gc, 4, N);
            mpfr_sub(H, H, Rc, N);
        }
        mpfr_div_ui(H, H, 6, N);
        if (mpfr_sgn(H.V) < 0) mpfr_add_ui(H, H, 1, N);
    }
    TLevels L;
    mpfr_mul_ui(Scaled, H, HueRange, N);
    L.Hue = static_cast<int32_t>(mpfr_get_si(Scaled, MPFR_RNDN)); // nearest, ties to even
    mpfr_mul_ui(Scaled, S, SatRange, N);
    L.Sat = static_cast<int32_t>(mpfr_get_si(Scaled, MPFR_RNDN));
    mpfr_mul_ui(Scaled, V, BrightRange, N);
    L.Bright = static_cast<int32_t>(mpfr_get_si(Scaled, MPFR_RNDN));
    return L;
}

TMp Fraction(int32_t Level, int32_t Range)
{
    TMp X;
    mpfr_set_si(X, Level, N);
    mpfr_div_si(X, X, Range, N);
    return X;
}

} // namespace

TEST(ColourModelAgainstMpfr, LevelsToColorForEveryLevelTriple)
{
    constexpr int L = 201;
    std::vector<THuePart> Hue;
    std::vector<TMp> Sat, Bright;
    std::array<int32_t, L> BrightLevel{};
    for (int I = 0; I < L; ++I) {
        Hue.push_back(HuePart(Fraction(I, HueRange)));
        Sat.push_back(Fraction(I, SatRange));
        Bright.push_back(Fraction(I, BrightRange));
        BrightLevel[I] = Level(Bright[I]);
    }
    std::vector<int32_t> PLevel(L * L);
    for (int S = 0; S < L; ++S) {
        TMp OneMinusS;
        mpfr_ui_sub(OneMinusS, 1, Sat[S], N);
        for (int B = 0; B < L; ++B) {
            TMp P;
            mpfr_mul(P, OneMinusS, Bright[B], N);
            PLevel[S * L + B] = Level(P);
        }
    }

    long Mismatches = 0;
    TMp QFactor, TFactor, Q, T;
    for (int H = 0; H < L; ++H) {
        for (int S = 0; S < L; ++S) {
            mpfr_mul(QFactor, Sat[S], Hue[H].F, N);
            mpfr_ui_sub(QFactor, 1, QFactor, N);
            mpfr_mul(TFactor, Hue[H].OneMinusF, Sat[S], N);
            mpfr_ui_sub(TFactor, 1, TFactor, N);
            for (int B = 0; B < L; ++B) {
                TColor Expected;
                if (S == 0) {
                    Expected = RGBColor(BrightLevel[B], BrightLevel[B], BrightLevel[B]);
                } else {
                    mpfr_mul(Q, QFactor, Bright[B], N);
                    mpfr_mul(T, TFactor, Bright[B], N);
                    Expected = Pick(Hue[H].Sector, BrightLevel[B], PLevel[S * L + B], Level(Q), Level(T));
                }
                const TColor Got = LevelsToColor(H, S, B);
                if (Got != Expected && ++Mismatches <= 10)
                    ADD_FAILURE() << "levels " << H << "," << S << "," << B << ": got " << std::hex << Got
                                  << ", MPFR " << Expected;
            }
        }
    }
    EXPECT_EQ(Mismatches, 0);
}

TEST(ColourModelAgainstMpfr, ColorToLevelsForEveryColour)
{
    std::array<int16_t, 256> BrightOf{};
    for (int Max = 0; Max < 256; ++Max) BrightOf[Max] = static_cast<int16_t>(RefColorToLevels(Max, 0, 0).Bright);
    std::vector<int16_t> SatOf(256 * 256, -1);
    for (int Max = 0; Max < 256; ++Max)
        for (int Min = 0; Min <= Max; ++Min)
            SatOf[Max * 256 + Min] = static_cast<int16_t>(RefColorToLevels(Max, Min, Min).Sat);
    // Hue keyed by branch and the two distances from the maximum that are not 0.
    std::vector<int16_t> HueOf(3 * 256 * 256, -1);

    long Mismatches = 0;
    for (int B = 0; B < 256; ++B) {
        for (int G = 0; G < 256; ++G) {
            for (int R = 0; R < 256; ++R) {
                const int Max = std::max({R, G, B}), Min = std::min({R, G, B});
                const int DR = Max - R, DG = Max - G, DB = Max - B;
                const int Key = DR == 0 ? (DG * 256 + DB) : DG == 0 ? 65536 + DR * 256 + DB : 131072 + DR * 256 + DG;
                if (HueOf[Key] < 0)
                    HueOf[Key] = static_cast<int16_t>(RefColorToLevels(255 - DR, 255 - DG, 255 - DB).Hue);
                const TLevels Got = ColorToLevels(R, G, B);
                if ((Got.Hue != HueOf[Key] || Got.Sat != SatOf[Max * 256 + Min] || Got.Bright != BrightOf[Max]) &&
                    ++Mismatches <= 10)
                    ADD_FAILURE() << "colour " << R << "," << G << "," << B << ": got " << Got.Hue << "," << Got.Sat
                                  << "," << Got.Bright << ", MPFR " << HueOf[Key] << "," << SatOf[Max * 256 + Min]
                                  << "," << BrightOf[Max];
            }
        }
    }
    EXPECT_EQ(Mismatches, 0);
}

TEST(ColourModelAgainstMpfr, RandomColoursAgreeWithTheFullReference)
{
    std::mt19937 Rng(20240601);
    std::uniform_int_distribution<int> Channel(0, 255);
    for (int I = 0; I < 200000; ++I) {
        const int R = Channel(Rng), G = Channel(Rng), B = Channel(Rng);
        const TLevels Got = ColorToLevels(R, G, B), Ref = RefColorToLevels(R, G, B);
        ASSERT_TRUE(Got.Hue == Ref.Hue && Got.Sat == Ref.Sat && Got.Bright == Ref.Bright)
            << "colour " << R << "," << G << "," << B;
    }
}

TEST(ColourModelAgainstMpfr, HSBtoRGBOnArbitraryExtendedInputs)
{
    std::mt19937_64 Rng(7);
    for (int I = 0; I < 300000; ++I) {
        // Full 64-bit significands: hue in [-2, 2), saturation and brightness in [0, 1].
        const Extended H = static_cast<Extended>(static_cast<int64_t>(Rng())) * 0x1p-62L;
        Extended S = static_cast<Extended>(Rng()) * 0x1p-64L;
        Extended B = static_cast<Extended>(Rng()) * 0x1p-64L;
        if (I % 16 == 0) S = 1;
        if (I % 16 == 1) B = 1;
        ASSERT_EQ(HSBtoRGB(H, S, B), RefHSBtoRGB(H, S, B))
            << std::hexfloat << H << " " << S << " " << B;
    }
    for (const Extended H : {-0x1p-70L, 1 - 0x1p-64L, -1 - 0x1p-63L})
        EXPECT_EQ(HSBtoRGB(H, 0.75L, 0.5L), RefHSBtoRGB(H, 0.75L, 0.5L));
}
