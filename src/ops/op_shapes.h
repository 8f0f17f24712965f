// What the entries of ops/op_list.h name beside the rows: the signature of
// each shape, and the stand-in row of an operation that has none.
#pragma once

#include <cstdint>
#include <type_traits>

#include "LibVestra.h"
#include "ops/rows.h"

namespace vx::ops {

namespace rows {
// An operation whose command line is the caller's (VX_Cmd, VX_SendUserCmd).
struct NoRow {};
inline constexpr NoRow kNoRow{};
}  // namespace rows

// The row an entry names, or null for kNoRow.
constexpr const Row *RowOf(const Row &row) { return &row; }
constexpr const Row *RowOf(rows::NoRow) { return nullptr; }

// The exported signature of each shape the list makes; Hand has none.
namespace shape {
using GetText = uint32_t (*)(VestraInfo *, const char *, char *);
using GetList = GetText;
using GetNumber = uint32_t (*)(VestraInfo *, const char *, uint32_t *);
using GetEncoder = uint32_t (*)(VestraInfo *, const char *, uint32_t *, uint32_t *, uint32_t *,
                                uint32_t *);
using SetText = uint32_t (*)(VestraInfo *, const char *, const char *);
using SetNumber = uint32_t (*)(VestraInfo *, const char *, int32_t);
using Action1 = uint32_t (*)(VestraInfo *, const char *);
using Action2 = Action1;
struct Hand {};
}  // namespace shape

// Whether an export's declared type is its shape's signature (any type for Hand).
template <typename Shape, typename Fn>
constexpr bool kMatchesShape = std::is_same_v<Shape, Fn>;
template <typename Fn>
constexpr bool kMatchesShape<shape::Hand, Fn> = std::is_pointer_v<Fn>;

}  // namespace vx::ops
