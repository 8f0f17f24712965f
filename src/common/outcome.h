// What an exchange with a recorder came to, as a value returned up the
// layers, and the one table that says what each outcome publishes: the
// record's status number and error text, the export's result, and the
// status the standard set writes.
#pragma once

#include <cstdint>

#include "LibVestra.h"

namespace vx {

enum class Outcome : uint8_t {
    Done,          // accepted and understood
    Special,       // accepted and understood with the row's own number (-110 to -113)
    Refused,       // refused before sending; the text says why
    NoReply,       // nothing, or no whole reply, came back
    DeviceError,   // the device answered "Error:"
    NotParsed,     // "OK", but the reply was not understood
    DeviceGone,    // a transfer failed and closed the record
    NotOpen,       // the record was closed before the operation began
    NoLogin,       // the record could not be logged in
    ConfigFailed,  // the device list could not set a recorder's configuration
    ClaimFailed,   // the device list could not claim a recorder's interface
};
constexpr int kOutcomes = int(Outcome::ClaimFailed) + 1;

// The standard set's status: the call's own success or refusal number.
constexpr int32_t kGbCallSuccess = INT32_MIN;
constexpr int32_t kGbCallRefusal = INT32_MIN + 1;
// The record's status: the number the row's rule gave (1 or its special).
constexpr int32_t kRuleStatus = INT32_MIN;

struct Published {
    Outcome outcome;
    int32_t status;              // the record's status number, or kRuleStatus
    const char *text = nullptr;  // the error text; null: the text handed in
    bool keeps_text = false;     // no text handed in: the record's text stays as it was
    uint32_t result;             // what the operation returns
    int32_t gb;                  // the standard set's status, or kGbCallSuccess / kGbCallRefusal
};

// The row of an outcome.
const Published &PublishedOf(Outcome outcome);

// The one writer of a record's status number and error text: both as the
// outcome's row says (text: the reply or the reason handed in; rule_status:
// the number the row's rule gave). Returns the operation's result.
uint32_t SetOutcome(VestraInfo *dev, Outcome outcome, const char *text = nullptr,
                    int32_t rule_status = VX_STATUS_OK);

// The status a standard-set call writes for the outcome, given the call's
// own success and refusal numbers.
int32_t GbStatusOf(Outcome outcome, int32_t success, int32_t refusal);

}  // namespace vx
