// The parse rules of the device operations, written once. Each looks at the
// whole reply and the caller's outputs and says whether the reply was
// understood (and with which status number).
#pragma once

#include <string_view>

#include "ops/op.h"
#include "protocol/payload.h"

namespace vx::ops::rules {

// Runs the rule a row names (Rule::None: understood).
Parsed Apply(Rule rule, const ParseInput &in);

// The number rule of every numeric field (protocol/payload.h).
using vx::AtoiLike;

// The text from just behind the key up to the next "\r\n" is copied to the
// one output without a terminator. Missing key or line end: not understood.
Parsed RawCopy(const ParseInput &in);
// The key with a line end somewhere behind it; the payload through AtoiLike.
Parsed Number(const ParseInput &in);
// The payload cut at commas, CR or LF into fields 1, 2, ... stored into the
// outputs in order (a field holds at most 127 characters; a last field with
// no separator behind it is dropped). Understood whenever the key is there.
Parsed FieldList(const ParseInput &in);
// "Key:value," pairs of a service configuration, each searched on its own.
Parsed KeyedList(const ParseInput &in);
// "+VIDEOOSD<n>:<value>,<text>": the value, then the text behind the comma,
// bounded by the text output's size.
Parsed Osd(const ParseInput &in);
// Configuration text: no "OK" needed; key, line end, and a payload shorter
// than the answer area, copied without a terminator.
Parsed ConfigText(const ParseInput &in);
// The key, and the expected text anywhere behind it; without it the reply is
// still understood, with the row's special status.
Parsed Contains(const ParseInput &in);
// Key and line end; an empty payload is understood with the row's special
// status, any other is copied as by RawCopy.
Parsed NonEmpty(const ParseInput &in);
// The key alone (its number is read and dropped).
Parsed KeyPresent(const ParseInput &in);
// The key's number equals the expected one.
Parsed EchoNumber(const ParseInput &in);

}  // namespace vx::ops::rules
