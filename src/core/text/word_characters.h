#pragma once
// The characters that make up words, for the whole-word search: letters and
// decimal digits of every script, the combining marks that belong to the letter
// before them, and "_". Everything else (blanks, the no-break space, punctuation
// such as « » ’ —, symbols such as €) separates words.

namespace orvex {

bool isWordCharacter(char32_t c);

}  // namespace orvex
