#include "common/timeutil.h"

#include "platform/platform.h"

namespace vx {

void FormatTimeText(const std::tm &fields, char *buf, std::size_t size) {
    if (buf == nullptr || size == 0) return;
    if (std::strftime(buf, size, "%Y%m%d%H%M%S", &fields) == 0) buf[0] = '\0';
}

void UtcTimeText(std::time_t t, char *buf, std::size_t size) {
    std::tm fields{};
    if (!platform::UtcFields(t, &fields)) {
        if (buf && size) buf[0] = '\0';
        return;
    }
    FormatTimeText(fields, buf, size);
}

namespace {
bool LocalTimeFields(std::time_t t, char *buf, std::size_t size, std::tm *fields) {
    if (!platform::LocalFields(t, fields)) {
        if (buf && size) buf[0] = '\0';
        return false;
    }
    FormatTimeText(*fields, buf, size);
    return true;
}
}  // namespace

void LocalTimeText(std::time_t t, char *buf, std::size_t size) {
    std::tm fields{};
    LocalTimeFields(t, buf, size, &fields);
}

void GetUtcTimeStr(char *buf, uint32_t size) { UtcTimeText(std::time(nullptr), buf, size); }

bool GetLocalTimeStr(char *buf, std::size_t size, std::tm *fields) {
    std::tm own{};
    return LocalTimeFields(std::time(nullptr), buf, size, fields != nullptr ? fields : &own);
}

}  // namespace vx
