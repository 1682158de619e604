#pragma once
// How quorvel-tool's output reaches its streams, byte for byte the same on Windows
// and elsewhere, so scripts can compare the two builds' results directly.

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "tools/quorvel-tool/args.h"

// One JSON object on one line. Texts decrypted from a link are arbitrary bytes:
// invalid UTF-8 becomes U+FFFD instead of an exception.
CommandOutput JsonLine(const nlohmann::ordered_json& object, int exitCode = 0);

// Stops the C runtime from turning "\n" into "\r\n" on Windows; nothing elsewhere.
void UseBinaryStreams();

// Writes the whole text in one go; false when it could not be written.
bool WriteStdout(std::string_view text);

// "quorvel-tool: " + message as one line on stderr; line breaks inside the message
// (it may quote an argument) become spaces.
void WriteErrorLine(std::string_view message);
