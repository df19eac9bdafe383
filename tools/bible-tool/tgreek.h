#pragma once
// Greek text as the Greek version stores it: lower case, without accents, breathings or other
// diacritics, the final sigma kept.

#include <string>
#include <string_view>

// UTF-8 in, UTF-8 out.
std::string NormalizeGreek(std::string_view utf8);
