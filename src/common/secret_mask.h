// Command and reply lines as the log shows them: the password or digest a
// line carries replaced by as many asterisks. The wire and the record keep
// the line as sent.
#pragma once

#include <string>
#include <string_view>

namespace vx {

// The text with the secret of each such line in it masked, of the same
// length; any other text as it is.
std::string MaskSecrets(std::string_view text);

}  // namespace vx
