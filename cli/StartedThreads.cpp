#include "cli/StartedThreads.h"

#include <cstdio>
#include <string>

#include "import/MessageTranslation.h"
#include "linesearch/Threads.h"
#include "picture/MessageText.h"

namespace zantrel {

int ThreadsThatStart(int threads) {
    const int wanted = ResolveThreadCount(threads);
    const int started = CountStartableThreads(wanted);
    if (started >= wanted)
        return threads;
    std::fprintf(stderr, "%s\n",
                 TranslateMessage(ZANTREL_MESSAGE("Zantrel",
                                                  "只有 %1 个线程（共 %2 个）能够启动：以 %1 "
                                                  "个线程继续，结果不变。"),
                                  {std::to_string(started), std::to_string(wanted)})
                     .c_str());
    return started;
}

}  // namespace zantrel
