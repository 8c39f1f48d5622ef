#include "optimise/OptimisedTime.h"

#include <algorithm>
#include <thread>

#include "linesearch/SearchSteps.h"
#include "linesearch/Threads.h"
#include "picture/Picture.h"
#include "quadtree/Quadtree.h"

namespace zantrel {

namespace {

// Processor seconds per unit, fitted to the search and the passes of noise, a smooth picture and
// a picture of one edge, 512 x 512 to 4096 x 4096 at minimum block 1 to 16 (README): the search
// within 10 % from 1024 x 1024 up, a pass within a factor of 2.
constexpr double kSecondsPerStep = 5.2e-9;
constexpr double kSecondsPerCoarsePixel = 38e-9;
constexpr double kSecondsPerCandidate = 1.2e-6;
constexpr double kPassSecondsPerPixel = 8e-9;
constexpr double kPassSecondsPerBlock = 0.12e-6;
constexpr double kPassSecondsPerLeaf = 1.5e-6;
// The blocks above this side get the fast search (BlockSearchSettings::exhaustiveSide).
constexpr int kExhaustiveSide = 64;

}  // namespace

double ExhaustiveSearchSeconds(double steps) {
    return kSecondsPerStep * steps;
}

double CoarseSearchSeconds(double pixels) {
    return kSecondsPerCoarsePixel * pixels;
}

double CandidateSeconds(double blocks) {
    return kSecondsPerCandidate * blocks;
}

double PassSeconds(double blocks, double pixels, double leaves) {
    return kPassSecondsPerPixel * pixels + kPassSecondsPerBlock * blocks +
           kPassSecondsPerLeaf * leaves;
}

OptimisedWork EstimateOptimisedWork(int width, int height, int minBlockSize) {
    // The searched blocks of each side: every block inside whose parent is larger than the
    // minimum block size or straddles the picture's edge.
    double steps = 0.0, coarse = 0.0, blocks = 0.0, pixels = 0.0;
    const int root = RootSide(width, height);
    for (int side = 2; side <= root; side *= 2) {
        const double inside = static_cast<double>(width / side) * (height / side);
        const double parentsInside =
            2 * side <= minBlockSize
                ? static_cast<double>(width / (2 * side)) * (height / (2 * side))
                : 0.0;
        const double searched = inside - 4 * parentsInside;
        blocks += searched;
        pixels += searched * side * side;
        if (side <= kExhaustiveSide)
            steps += searched * EstimatedBlockSearchSteps(side);
        else
            coarse += searched * side * side;
    }
    OptimisedWork work;
    work.search =
        ExhaustiveSearchSeconds(steps) + CoarseSearchSeconds(coarse) + CandidateSeconds(blocks);
    work.pass =
        PassSeconds(blocks, pixels, static_cast<double>(MostLeaves(width, height, minBlockSize)));
    return work;
}

double PredictOptimisedSeconds(int width, int height, int minBlockSize, bool search, bool rate,
                               int passes, int threads) {
    const OptimisedWork work = EstimateOptimisedWork(width, height, minBlockSize);
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const int workers = std::min(ResolveThreadCount(threads), static_cast<int>(cores));
    const double runs = rate ? kPredictedRateSteps : 1;
    return (search ? work.search / workers : 0.0) + runs * passes * work.pass;
}

}  // namespace zantrel
