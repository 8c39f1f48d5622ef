#pragma once
// The processing workspace: every processing command makes one, runs its stages on it in
// a fixed order and destroys it. It holds the stages' scratch state; what outlasts the
// command lives in the picture store and the block lists.

#include <cstdint>
#include <deque>
#include <vector>

#include "platform/Shell.h"
#include "quadtree/Records.h"

class CImageProcessor {
  public:
    CImageProcessor();
    virtual ~CImageProcessor();
    CImageProcessor(const CImageProcessor&) = delete;
    CImageProcessor& operator=(const CImageProcessor&) = delete;

    // Gray conversion: g_colorPixels -> g_grayPixels and g_graySquares.
    void ConvertToGray();

    // Quadtree split of the gray picture under `penalty` (>= 0) with `minBlockSize` in 1..128;
    // fills g_blocks, g_penalty and both grid pictures.
    void QuadtreeDecompose(double penalty, std::int32_t minBlockSize);
    // Squared error / 512 of the block into m_blockError; returns its rounded mean.
    std::uint8_t MeasureBlock(std::int32_t row, std::int32_t col, std::int32_t size);

    // Every leaf of g_blocks filled with its mean, into g_resultPixels.
    void FillBlockPicture();
    // Background (255) samples of g_grayGridPixels take the block picture's value.
    void MakeGrayGrid();

    // The cut-line search over g_blocks; publishes g_cutModels and g_groupCount.
    void SearchLines();
    void GroupCandidatesBySize();
    void SearchVerticalCuts(int group, int first);
    void SearchHorizontalCuts(int group, int first);
    void SearchObliqueCuts(int group, int first);
    // Divides an n x n grid by the line between the lattice points (row1, col1) and
    // (row2, col2), row1 != row2, into m_sidePixelsA and m_sidePixelsB.
    void SplitBlockByLine(double row1, double col1, double row2, double col2, int n);

    // Draws every cut model of g_cutModels into g_resultPixels.
    void Reconstruct();
    // Shows the PSNR of g_resultPixels against g_grayPixels.
    void ComputePsnr();
    // Shows the estimated bits per pixel of the decomposition.
    void EstimateBitRate();
    void SortBlocksInScanOrder();

    // Looks the status bar up from the registered shell into m_pStatusBar.
    void AttachStatusBar();

    std::deque<QuadBlock> m_workList;
    double m_blockError = 0.0;
    std::vector<std::int32_t> m_groupCounts;
    std::vector<std::int32_t> m_groupSizes;
    std::vector<CutModel> m_candidates;
    std::vector<PixelPos> m_sidePixelsA;
    std::vector<PixelPos> m_sidePixelsB;
    std::vector<std::uint8_t> m_valueDiffs;
    CStatusBar* m_pStatusBar = nullptr;

  private:
    // Brings the summed tables of the gray picture up to date, once per command.
    void RefreshSums();
    bool m_sumsFresh = false;

    // Pane 0 text and progress through m_pStatusBar, where there is one.
    void ShowStatus(const char* text);
    void ShowProgress(int position);
    // The cuts between rows (`alongRows`) or between columns of every block of a group.
    void SearchAxisGroup(const char* label, int group, int first, bool alongRows);
    // `label` directly followed by the number of size groups still to come after `group`.
    void ShowGroupStatus(const char* label, int group);
};
