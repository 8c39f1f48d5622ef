#include "quadtree/ImageProcessor.h"

#include <cstdio>

#include "quadtree/SummedTables.h"

CImageProcessor::CImageProcessor() = default;

CImageProcessor::~CImageProcessor() = default;

void CImageProcessor::AttachStatusBar() {
    m_pStatusBar = CurrentShell().StatusBar();
}

void CImageProcessor::RefreshSums() {
    if (!m_sumsFresh)
        CSummedTables::Refresh();
    m_sumsFresh = true;
}

void CImageProcessor::ShowStatus(const char* text) {
    if (m_pStatusBar)
        m_pStatusBar->SetPaneText(text);
}

void CImageProcessor::ShowProgress(int position) {
    if (m_pStatusBar)
        m_pStatusBar->SetProgressPos(position);
}

void CImageProcessor::ShowGroupStatus(const char* label, int group) {
    char text[64];
    std::snprintf(text, sizeof text, "%s%d", label,
                  static_cast<int>(m_groupSizes.size()) - group - 1);
    ShowStatus(text);
}
