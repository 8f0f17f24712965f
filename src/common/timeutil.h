// Time texts: 14 digits "%Y%m%d%H%M%S", UTC for the recorders, local time in
// the log.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>

namespace vx {

constexpr std::size_t kTimeTextSize = 15;  // 14 digits and the terminator

// Formats the broken-down fields as the 14-digit text into buf (size bytes,
// terminator included). Writes an empty text if the fields do not fit.
void FormatTimeText(const std::tm &fields, char *buf, std::size_t size);

// The time value t as UTC / local text.
void UtcTimeText(std::time_t t, char *buf, std::size_t size);
void LocalTimeText(std::time_t t, char *buf, std::size_t size);

// The current UTC time as text, for the device clock commands.
void GetUtcTimeStr(char *buf, uint32_t size);
// The current local time as text, for the log stamp; its broken-down
// fields too when asked. False (an empty text) if it could not be had.
bool GetLocalTimeStr(char *buf, std::size_t size, std::tm *fields = nullptr);

}  // namespace vx
