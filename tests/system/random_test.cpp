#include "toolkit/system/random.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace kestrel {
namespace {

class Random : public ::testing::Test {
protected:
    void SetUp() override { SeedRnd(kInitialRndSeed); }
};

TEST_F(Random, FirstDrawFromTheInitialStateIsExact) {
    EXPECT_EQ(RndSeed(), 4660);
    const float f = RndFloat();
    EXPECT_EQ(RndSeed(), 224942860);
    EXPECT_EQ(f, 224942848.0f / 268435456.0f);
    EXPECT_DOUBLE_EQ(f, 0.837977409362793);
}

TEST_F(Random, SeedCornersFallBackToTheInitialState) {
    for (std::int32_t seed : {0, static_cast<std::int32_t>(0x80000000u), 2147483647, -1}) {
        SeedRnd(seed);
        EXPECT_EQ(RndSeed(), 4660) << seed;
    }
    SeedRnd(-2);  // AND 0x7FFFFFFF keeps the low 31 bits
    EXPECT_EQ(RndSeed(), 0x7FFFFFFE);
    SeedRnd(1);
    EXPECT_EQ(RndSeed(), 1);
}

TEST_F(Random, RandCoversBothEndsInEitherArgumentOrder) {
    std::set<int> forward, backward;
    for (int i = 0; i < 2000; ++i) {
        forward.insert(Rand(1, 6));
        backward.insert(Rand(6, 1));
    }
    EXPECT_EQ(forward, (std::set<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(backward, (std::set<int>{1, 2, 3, 4, 5, 6}));

    const auto before = RndSeed();
    EXPECT_EQ(Rand(4, 4), 4);
    EXPECT_NE(RndSeed(), before);  // still two steps drawn
    SeedRnd(before);
    RndDouble();
    const auto afterTwoSteps = RndSeed();
    SeedRnd(before);
    Rand(4, 4);
    EXPECT_EQ(RndSeed(), afterTwoSteps);

    std::set<int> negative;
    for (int i = 0; i < 500; ++i) negative.insert(Rand(-2, 0));
    EXPECT_EQ(negative, (std::set<int>{-2, -1, 0}));
}

TEST_F(Random, RndLiesFromTheSmallerTowardTheLarger) {
    for (int i = 0; i < 2000; ++i) {
        const double a = Rnd(5, 2);
        EXPECT_GE(a, 2.0);
        EXPECT_LT(a, 5.0);
        const double b = Rnd(-1, 3);
        EXPECT_GE(b, -1.0);
        EXPECT_LT(b, 3.0);
        const double d = RndDouble();
        EXPECT_GE(d, 0.0);
        EXPECT_LT(d, 1.0);
    }
}

TEST_F(Random, LongSequencesArePinned) {
    std::vector<int> dice;
    for (int i = 0; i < 20; ++i) dice.push_back(Rand(1, 6));
    EXPECT_EQ(dice, (std::vector<int>{3, 2, 5, 1, 4, 2, 5, 3, 3, 4, 6, 4, 4, 2, 4, 4, 4, 5, 4, 3}));
    EXPECT_EQ(RndSeed(), 677295208);

    SeedRnd(12345);
    std::vector<int> colours;
    for (int i = 0; i < 10; ++i) colours.push_back(Rand(0, 5));
    EXPECT_EQ(colours, (std::vector<int>{0, 4, 3, 3, 1, 5, 3, 5, 1, 2}));
    EXPECT_DOUBLE_EQ(RndDouble(), 0.9125228329737891);
    EXPECT_FLOAT_EQ(RndFloat(), 0.3918740749359131f);

    SeedRnd(kInitialRndSeed);
    for (int i = 0; i < 5000; ++i) RndDouble();
    EXPECT_EQ(RndSeed(), 870544118);  // 10000 steps
}

TEST_F(Random, AGeneratorOfItsOwnDrawsTheSameSequenceAndLeavesTheProgramsAlone) {
    SeedRnd(12345);
    RandomGenerator own(12345);
    std::vector<int> a, b;
    for (int i = 0; i < 10; ++i) {
        a.push_back(Rand(0, 5));
        b.push_back(own.Int(0, 5));
    }
    EXPECT_EQ(a, b);
    EXPECT_EQ(own.State(), RndSeed());

    // Draws from the own generator leave the program's sequence where it was.
    const std::int32_t before = RndSeed();
    for (int i = 0; i < 100; ++i) {
        own.Between(-8, 8);
        own.Float();
    }
    EXPECT_EQ(RndSeed(), before);
    EXPECT_NE(own.State(), before);

    // The same corner seeds as the program's.
    RandomGenerator corner(0);
    EXPECT_EQ(corner.State(), kInitialRndSeed);
    corner.Seed(-2);
    EXPECT_EQ(corner.State(), 0x7FFFFFFE);
}

}  // namespace
}  // namespace kestrel
