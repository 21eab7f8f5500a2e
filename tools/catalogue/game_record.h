#pragma once

#include "catalogue.h"

#include <string>
#include <string_view>

// "&#" and the decimal code of each character, nothing between: how records carry SWF
// addresses. codeOffset is added to every code.
std::string codedAddress(std::string_view address, int codeOffset = 0);

// The game's one-line record in GBK: id|name|description|coded SWF address|picture address,
// sometimes a sixth field, or one of the malformed shapes that tests ask for.
std::string gameRecord(const Game& game, std::string_view host);
