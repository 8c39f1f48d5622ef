#include "app/StageRuns.h"

#include <memory>
#include <utility>

#include "app/ZantrelDoc.h"
#include "picture/Picture.h"
#include "platform/Shell.h"

namespace zantrel {

StageRuns::StageRuns(ZantrelDoc& doc) : m_doc(doc) {
    connect(&doc, &ZantrelDoc::GrayReplaced, this, &StageRuns::StopAll);
    connect(&m_stages, &BackgroundRun::JobEnded, this, &StageRuns::OnJobEnded);
}

void StageRuns::Step(const StageRequest& request) {
    if (m_stepRunning && m_stages.Busy()) {
        m_nextStep = request;
        return;
    }
    Start(request);
    m_stepRunning = m_stages.Busy();
}

void StageRuns::OnJobEnded(bool applied) {
    // Another request may have started already: it overtook the steps.
    if (!m_stepRunning || m_stages.Busy())
        return;
    m_stepRunning = false;
    std::optional<StageRequest> next = std::exchange(m_nextStep, std::nullopt);
    // A step stopped (Esc, a new picture) or failed takes the waiting one with it.
    if (next && applied)
        Step(*next);
}

void StageRuns::Start(const StageRequest& request) {
    m_stepRunning = false;
    m_nextStep.reset();
    const StageInputs inputs = m_doc.Inputs();
    if (inputs.gray) {
        const int width = inputs.gray->width;
        const int height = inputs.gray->height;
        const std::int32_t minBlockSize = request.quadtree  ? request.quadtree->minBlockSize
                                          : inputs.quadtree ? inputs.quadtree->tree.minBlockSize
                                                            : 1;
        m_lastNeed = {width, height,
                      request.mode == RunMode::Optimised
                          ? OptimisedBytesFor(width, height, minBlockSize)
                          : PipelineBytesFor(width, height)};
        if (const std::uint64_t available = AvailableMemoryBytes();
            available != 0 && m_lastNeed.bytes > available) {
            Q_EMIT NotEnoughMemory();
            return;
        }
    }
    m_stages.Start(
        [this, inputs, request](Progress& progress) -> BackgroundRun::Apply {
            std::optional<StageOutputs> outputs =
                RunStages(inputs, request, m_search, m_optimised, progress);
            if (!outputs)
                return {};
            auto shared = std::make_shared<StageOutputs>(std::move(*outputs));
            return [this, shared] {
                // Before the document tells of its new stage, so that its readers find it.
                m_lastRate = shared->rate;
                if (m_lastRate)
                    Q_EMIT RateApplied(*m_lastRate);
                m_doc.Adopt(std::move(*shared));
            };
        },
        CurrentShell().StatusBar());
}

void StageRuns::StartCurve(std::int32_t minBlockSize, RunMode mode,
                           std::function<void(const std::vector<RunFigures>&)> done) {
    m_curve.Start(
        [inputs = m_doc.Inputs(), minBlockSize, mode,
         done = std::move(done)](Progress& progress) -> BackgroundRun::Apply {
            auto figures = std::make_shared<const std::vector<RunFigures>>(
                mode == RunMode::Optimised
                    ? MeasureOptimisedCurve(inputs, RateCurvePenalties(), minBlockSize, progress)
                    : MeasureRateCurve(*inputs.gray, *inputs.sums, RateCurvePenalties(),
                                       minBlockSize, progress));
            if (figures->empty())
                return {};
            return [done, figures] { done(*figures); };
        },
        nullptr);
}

void StageRuns::StopAll() {
    m_stages.CancelAndWait();
    m_curve.CancelAndWait();
    m_optimised.Drop();
}

void StageRuns::WaitForIdle() {
    while (m_stages.Busy() || m_curve.Busy()) {
        m_stages.WaitForIdle();
        m_curve.WaitForIdle();
    }
}

}  // namespace zantrel
