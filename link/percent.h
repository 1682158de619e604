#pragma once
// Percent-encoding as links and origin parameters use it.

#include <string>
#include <string_view>

// Unescapes a link payload: works on its UTF-8 bytes; "%XY" is read the way a stream
// extraction in hexadecimal mode reads the two bytes (so "%4G" gives byte 4 and drops
// the "G"), a '%' that starts no number stays, '+' stays '+'. The result goes back to
// UTF-16 with invalid sequences replaced.
std::u16string PercentDecode(std::u16string_view payload);

// Keeps A-Z a-z 0-9 and "-._~"; every other byte becomes '%' and two lower-case hex
// digits.
std::string PercentEncodeUnreserved(std::string_view bytes);

// One value of an application/x-www-form-urlencoded body, as a browser's form
// serializer writes it: A-Z a-z 0-9 and "*-._" stay, a space becomes '+', every
// other byte '%' and two upper-case hex digits. A standard form parser gives the
// value back exactly, '+', '&', '=' and '%' included.
std::string FormUrlEncode(std::string_view bytes);
