#include "quadtree/ImageProcessor.h"

#include "quadtree/SummedTables.h"

CImageProcessor::CImageProcessor() = default;

CImageProcessor::~CImageProcessor() = default;

void CImageProcessor::AttachStatusBar() {
    m_pStatusBar = CurrentShell().StatusBar();
}

const CSummedTables& CImageProcessor::Sums() {
    if (!m_sums)
        m_sums = std::make_unique<CSummedTables>();
    return *m_sums;
}

void CImageProcessor::ShowStatus(const char* text) {
    if (m_pStatusBar)
        m_pStatusBar->SetPaneText(text);
}

void CImageProcessor::ShowProgress(int position) {
    if (m_pStatusBar)
        m_pStatusBar->SetProgressPos(position);
}
