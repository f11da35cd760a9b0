#include "LayoutTemplate.h"

#include <initializer_list>

namespace mirelo {
namespace {

// One line of a layout: on `level`, each of `rows` holds anchors at `columns`.
struct Rows {
    int level;
    std::initializer_list<int> rows;
    std::initializer_list<int> columns;
};

constexpr LayoutTemplate Build(std::initializer_list<Rows> lines) {
    LayoutTemplate t;
    for (const Rows& line : lines)
        for (int y : line.rows)
            for (int x : line.columns)
                t.Bytes[(line.level - 1) * LevelBytes + (y - 1) * GridColumns + (x - 1)] = 1;
    return t;
}

constexpr int CountLevel(const LayoutTemplate& t, int level) {
    int n = 0;
    for (int i = 0; i < LevelBytes; ++i)
        n += t.Bytes[(level - 1) * LevelBytes + i];
    return n;
}

constexpr LayoutTemplate Traditional = Build({
    {1, {3}, {5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27}},
    {1, {5}, {9, 11, 13, 15, 17, 19, 21, 23}},
    {1, {7}, {7, 9, 11, 13, 15, 17, 19, 21, 23, 25}},
    {1, {9}, {5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27}},
    {1, {10}, {3, 29, 31}},
    {1, {11}, {5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27}},
    {1, {13}, {7, 9, 11, 13, 15, 17, 19, 21, 23, 25}},
    {1, {15}, {9, 11, 13, 15, 17, 19, 21, 23}},
    {1, {17}, {5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27}},
    {2, {5, 7, 9, 11, 13, 15}, {11, 13, 15, 17, 19, 21}},
    {3, {7, 9, 11, 13}, {13, 15, 17, 19}},
    {4, {9, 11}, {15, 17}},
    {5, {10}, {16}},
});

constexpr LayoutTemplate Dragon = Build({
    {1, {3}, {9, 11}},
    {1, {4}, {13, 15, 23}},
    {1, {5}, {7, 9, 11, 29}},
    {1, {6}, {4, 15, 21, 23, 27, 31}},
    {1, {8}, {3, 5, 13, 15, 20, 22, 27, 31}},
    {1, {9}, {7, 25}},
    {1, {10}, {4, 9, 12, 14, 19, 21, 23, 31}},
    {1, {11}, {17}},
    {1, {12}, {9, 11, 13, 15, 19, 21, 23, 30}},
    {1, {13}, {6, 17, 25}},
    {1, {14}, {9, 11, 13, 15, 21}},
    {1, {15}, {5, 7, 25, 27}},
    {1, {16}, {21}},
    {1, {17}, {6, 17, 19, 27, 29}},
    {2, {3}, {9, 11}},
    {2, {4}, {13, 15}},
    {2, {5}, {7, 9, 11, 29}},
    {2, {6}, {4, 15, 22, 27, 31}},
    {2, {8}, {3, 5, 13, 15, 20, 22, 27, 31}},
    {2, {9}, {25}},
    {2, {10}, {4, 9, 12, 14, 19, 21, 23, 31}},
    {2, {11}, {17}},
    {2, {12}, {9, 11, 13, 15, 19, 21, 23, 30}},
    {2, {13}, {6, 17, 25}},
    {2, {14}, {11, 13, 15, 21}},
    {2, {15}, {5, 7, 25, 27}},
    {2, {16}, {21}},
    {2, {17}, {6, 18, 28}},
    {3, {3}, {10}},
    {3, {4}, {12, 14}},
    {3, {5}, {8, 10}},
    {3, {6}, {15}},
    {3, {7}, {4, 27, 31}},
    {3, {8}, {14, 21}},
    {3, {9}, {4, 31}},
    {3, {10}, {13, 20, 22}},
    {3, {12}, {12, 14, 17, 20, 22}},
    {3, {14}, {6, 12, 14}},
    {3, {16}, {6}},
    {4, {4}, {10}},
    {4, {10}, {21}},
    {4, {12}, {13, 21}},
    {4, {14}, {13}},
});

constexpr LayoutTemplate BigHole = Build({
    {1, {5, 7, 13, 15}, {11, 13, 15, 17, 19, 21, 23, 25}},
    {1, {9, 11}, {11, 13, 15, 21, 23, 25}},
    {2, {5, 15}, {11, 13, 15, 17, 19, 21, 23, 25}},
    {2, {7, 13}, {13, 15, 17, 19, 21, 23}},
    {2, {9, 11}, {13, 15, 21, 23}},
    {3, {5, 15}, {11, 13, 15, 17, 19, 21, 23, 25}},
    {3, {7, 13}, {13, 15, 17, 19, 21, 23}},
    {3, {9, 11}, {13, 15, 21, 23}},
    {4, {5, 15}, {11, 13, 15, 17, 19, 21, 23, 25}},
    {4, {7, 13}, {15, 17, 19, 21}},
    {4, {9, 11}, {15, 21}},
});

constexpr LayoutTemplate Theater = Build({
    {1, {4, 16}, {5, 7, 9, 11, 13, 21, 23, 25, 27, 29}},
    {1, {6, 14}, {5, 7, 9, 11, 15, 17, 19, 23, 25, 27, 29}},
    {1, {8, 12}, {5, 7, 9, 17, 25, 27, 29}},
    {1, {10}, {5, 7, 15, 17, 19, 27, 29}},
    {2, {4, 16}, {5, 7, 9, 11, 23, 25, 27, 29}},
    {2, {6, 14}, {5, 7, 9, 17, 25, 27, 29}},
    {2, {8, 12}, {5, 7, 27, 29}},
    {2, {10}, {5, 17, 29}},
    {3, {4, 16}, {5, 7, 9, 25, 27, 29}},
    {3, {6, 14}, {5, 7, 27, 29}},
    {3, {8, 12}, {5, 29}},
    {4, {4, 16}, {5, 7, 27, 29}},
    {4, {6, 14}, {5, 29}},
    {5, {4, 16}, {5, 29}},
});

constexpr LayoutTemplate Beatle = Build({
    {1, {4, 16}, {9, 11, 25, 27}},
    {1, {6, 14}, {13, 15, 17, 19, 21, 23}},
    {1, {8, 12}, {9, 11, 13, 15, 17, 19, 21, 23, 25}},
    {1, {10}, {8, 10, 12, 14, 16, 18, 20, 22, 24, 26}},
    {2, {5, 15}, {12, 24}},
    {2, {6, 14}, {14, 16, 18, 20, 22}},
    {2, {8, 12}, {8, 10, 12, 14, 16, 18, 20, 22, 24}},
    {2, {10}, {9, 11, 13, 15, 17, 19, 21, 23, 25}},
    {3, {8, 12}, {7, 11, 13, 15, 17, 19, 21, 23}},
    {3, {10}, {9, 11, 13, 15, 17, 19, 21, 23}},
    {4, {7, 13}, {6}},
    {4, {8, 12}, {12, 14, 16, 18, 20, 22}},
    {4, {10}, {10, 12, 14, 16, 18, 20, 22}},
    {5, {4, 6, 14, 16}, {5}},
    {5, {10}, {11, 13, 15, 17, 19, 21}},
});

// The per-level counts are part of each layout's identity; a typo in the row
// lists above fails the build here rather than at run time.
constexpr bool Counts(const LayoutTemplate& t, int l1, int l2, int l3, int l4, int l5) {
    return CountLevel(t, 1) == l1 && CountLevel(t, 2) == l2 && CountLevel(t, 3) == l3 &&
           CountLevel(t, 4) == l4 && CountLevel(t, 5) == l5;
}
static_assert(Counts(Traditional, 87, 36, 16, 4, 1));
static_assert(Counts(Dragon, 60, 54, 25, 5, 0));
static_assert(Counts(BigHole, 44, 36, 36, 28, 0));
static_assert(Counts(Theater, 63, 41, 24, 12, 4));
static_assert(Counts(Beatle, 48, 41, 24, 21, 10));

constexpr const LayoutTemplate* Templates[LayoutCount] = {&Traditional, &Dragon, &BigHole, &Theater,
                                                          &Beatle};

} // namespace

const LayoutTemplate& Template(int layout) {
    if (layout < 1 || layout > LayoutCount)
        layout = LayoutTraditional;
    return *Templates[layout - 1];
}

} // namespace mirelo
