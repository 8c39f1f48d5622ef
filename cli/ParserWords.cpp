#include "cli/ParserWords.h"

#include "import/MessageTranslation.h"
#include "picture/MessageText.h"

namespace zantrel {

std::string InParserWords(const std::string& reason) {
    return TranslateMessage(ZANTREL_MESSAGE("Zantrel", "命令行参数有误：%1"), {reason});
}

}  // namespace zantrel
