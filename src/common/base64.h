// Base64 (RFC 4648, with padding): how binary data (samples, pictures)
// travels in a text field of an event.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orbex {

std::string EncodeBase64(const uint8_t* data, size_t size);
// Nullopt when the text is not base64 (a stray character, a bad length or padding).
std::optional<std::vector<uint8_t>> DecodeBase64(std::string_view text);

}  // namespace orbex
