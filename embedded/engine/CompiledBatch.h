#pragma once

#include "Ast.h"
#include "Translator.h"

#include <vector>

namespace tsql {

// A batch of one SELECT that reads no variable, as parsed, checked and translated: sent again with
// the same text while the tables stay as they were, it runs without being compiled again, as a
// server reuses the plan it cached for the same text.
struct CompiledBatch {
    std::vector<StatementPtr> statements;
    TranslatedSelect translated;
    unsigned long long generation = 0; // the catalog's, when it was translated
};

} // namespace tsql
