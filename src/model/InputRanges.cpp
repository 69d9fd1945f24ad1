#include "InputRanges.h"

namespace slabwise {

// Rows by Tag 1 to 46: the input limits, then the display decimals of the
// derived and result fields that carry the same Tags.
const TInputRangeTable& EnglishInputRanges() {
    static const TInputRangeTable table{{
        {5, 500, 2},        // 1 strip length L
        {5, 500, 2},        // 2 strip width B
        {0.67L, 20, 2},     // 3 thickness T
        {1, 999999, 2},     // 4 concrete modulus E
        {5, 999, 2},        // 5 subgrade modulus k
        {-999, 999, 2},     // 6 full uniform load w
        {0, 0, 2},          // 7 %B for the effective width
        {0, 0, 4},          // 8 user points
        {0, 0, 4},          // 9 distributed load positions
        {-999, 999, 2},     // 10 distributed load intensities
        {0, 0, 4},          // 11 point load positions
        {-99000, 99000, 2}, // 12 point loads
        {0, 0, 4},          // 13 moment positions
        {-99000, 99000, 2}, // 14 applied moments
        {0, 0, 4},          // 15 inertia
        {0, 0, 3},          // 16 beta
        {0, 0, 3},          // 17 beta L
        {0, 0, 2},          // 18 shears
        {0, 0, 2},          // 19 moments
        {0, 0, 5},          // 20 deflections
        {0, 0, 3},          // 21 extreme soil pressures
        {0, 0, 3},          // 22 positions of extremes
        {0, 0, 2},          // 23 bearing area %
        {0, 0, 3},          // 24 min. thickness semi-rigid
        {0, 0, 3},          // 25 min. thickness rigid
        {0, 0, 3},          // 26 Lr
        {0, 0, 3},          // 27 B(est.)
        {0, 0, 1},          // 28 Fy
        {2, 12, 1},         // 29 Fc
        {0, 0, 2},          // 30 clear covers
        {0, 0, 0},          // 31 bar sizes
        {0, 0, 2},          // 32 required steel areas
        {0, 0, 0},          // 33 minimum number of bars
        {0, 0, 0},          // 34 override number of bars
        {0, 0, 2},          // 35 bar spacings
        {0, 0, 2},          // 36 effective depths
        {0, 0, 2},          // 37 steel areas provided
        {0, 0, 2},          // 38 steel percentages
        {0, 0, 1},          // 39 allowable moments
        {0, 0, 1},          // 40 max. factored shear
        {0, 0, 1},          // 41 allowable shear
        {0.5L, 20, 2},      // 42 allowable bearing qa
        {1.4L, 2, 2},       // 43 shear load factor
        {1.4L, 2, 2},       // 44 moment load factor
        {0, 120, 2},        // 45 column size along the strip c1
        {0, 120, 2},        // 46 column size across the strip c2, also at most B
    }};
    return table;
}

const TInputRangeTable& SIInputRanges() {
    static const TInputRangeTable table{{
        {1.5L, 150, 3},       // 1
        {1.5L, 150, 3},       // 2
        {0.2L, 6, 3},         // 3
        {1, 999999, 2},       // 4
        {2000, 200000, 2},    // 5
        {0, 0, 2},            // 6
        {0, 100, 2},          // 7
        {-15000, 15000, 4},   // 8
        {0, 0, 4},            // 9
        {-15000, 15000, 2},   // 10
        {0, 0, 4},            // 11
        {-450000, 450000, 2}, // 12
        {0, 0, 4},            // 13
        {-150000, 150000, 2}, // 14
        {0, 0, 5},            // 15
        {0, 0, 3},            // 16
        {0, 0, 3},            // 17
        {0, 0, 2},            // 18
        {0, 0, 2},            // 19
        {0, 0, 5},            // 20
        {0, 0, 3},            // 21
        {0, 0, 3},            // 22
        {0, 0, 2},            // 23
        {0, 0, 3},            // 24
        {0, 0, 3},            // 25
        {0, 0, 3},            // 26
        {0, 0, 3},            // 27
        {0, 0, 1},            // 28
        {20, 120, 1},         // 29
        {0, 0, 2},            // 30
        {0, 0, 0},            // 31
        {0, 0, 2},            // 32
        {0, 0, 0},            // 33
        {0, 0, 0},            // 34
        {0, 0, 2},            // 35
        {0, 0, 2},            // 36
        {0, 0, 2},            // 37
        {0, 0, 2},            // 38
        {0, 0, 1},            // 39
        {0, 0, 1},            // 40
        {0, 0, 1},            // 41
        {20, 1000, 2},        // 42
        {1.4L, 2, 2},         // 43
        {1.4L, 2, 2},         // 44
        {0, 3000, 2},         // 45
        {0, 3000, 2},         // 46
    }};
    return table;
}

} // namespace slabwise
