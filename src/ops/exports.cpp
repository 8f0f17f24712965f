// The exports of a common shape, one definition each, made from the list in
// ops/op_list.h; the others are written in their family's file. Each entry is
// checked against its declaration in LibVestra.h: an export whose shape does
// not match, or that the header does not declare, does not build.
#include <type_traits>

#include "common/guard.h"
#include "ops/op_shapes.h"
#include "ops/rows.h"
#include "ops/steps.h"

using namespace vx;
using namespace vx::ops;

#define VX_OP(Export, Row, Shape, Cli, Label)                       \
    static_assert(kMatchesShape<shape::Shape, decltype(&(Export))>, \
                  #Export ": the shape in ops/op_list.h differs from LibVestra.h");
#include "ops/op_list.h"
#undef VX_OP

// One body per shape; Hand makes nothing.
#define VX_MAKE_GetText(Export, Row)                                                        \
    VX_API uint32_t Export(VestraInfo *dev, const char *password, char *out) {                   \
        return Guarded(0u, [&] { return Get(dev, password, rows::Row, {Out::TextArea(out)}); }); \
    }
#define VX_MAKE_GetList(Export, Row)                                                              \
    VX_API uint32_t Export(VestraInfo *dev, const char *password, char *out) {                         \
        return Guarded(                                                                           \
            0u, [&] { return Get(dev, password, rows::Row, {Out::TextArea(out, VX_AP_LIST_AREA)}); }); \
    }
#define VX_MAKE_GetNumber(Export, Row)                                                 \
    VX_API uint32_t Export(VestraInfo *dev, const char *password, uint32_t *out) {          \
        return Guarded(0u, [&] { return Get(dev, password, rows::Row, {Out::Num(out)}); }); \
    }
#define VX_MAKE_GetEncoder(Export, Row)                                                         \
    VX_API uint32_t Export(VestraInfo *dev, const char *password, uint32_t *width, uint32_t *height, \
                           uint32_t *third, uint32_t *fourth) {                                 \
        return Guarded(0u, [&] {                                                                \
            return Get(dev, password, rows::Row,                                                     \
                       {Out::WxH(width, height), Out::Num(third), Out::Num(fourth)});           \
        });                                                                                     \
    }
#define VX_MAKE_SetText(Export, Row)                                             \
    VX_API uint32_t Export(VestraInfo *dev, const char *password, const char *text) { \
        return Guarded(0u, [&] { return Set(dev, password, rows::Row, {text}); });    \
    }
#define VX_MAKE_SetNumber(Export, Row)                                         \
    VX_API uint32_t Export(VestraInfo *dev, const char *password, int32_t value) {  \
        return Guarded(0u, [&] { return Set(dev, password, rows::Row, {value}); }); \
    }
#define VX_MAKE_Action1(Export, Row)                                                \
    VX_API uint32_t Export(VestraInfo *dev, const char *password) {                      \
        return Guarded(0u, [&] { return Set(dev, password, rows::Row, {int32_t(1)}); }); \
    }
#define VX_MAKE_Action2(Export, Row)                                                \
    VX_API uint32_t Export(VestraInfo *dev, const char *password) {                      \
        return Guarded(0u, [&] { return Set(dev, password, rows::Row, {int32_t(2)}); }); \
    }
#define VX_MAKE_Hand(Export, Row)

extern "C" {
#define VX_OP(Export, Row, Shape, Cli, Label) VX_MAKE_##Shape(Export, Row)
#include "ops/op_list.h"
#undef VX_OP
}  // extern "C"
