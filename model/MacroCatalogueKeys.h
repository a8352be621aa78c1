#pragma once
// The key catalogue as the vocabulary that macros travel to and from the keyboard in.
#include "model/MacroKeyCodes.h"

namespace kw::model {

const MacroKeyVocabulary& CatalogueMacroKeys();

}  // namespace kw::model
