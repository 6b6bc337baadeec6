// The frame's side of a counting run: Start, Stop and the engine's notifications.
#include "TallywickFrame.h"

#include "CountingManager.h"

void TallywickFrame::OnStartCounting(wxCommandEvent&) {}

void TallywickFrame::OnStopCounting(wxCommandEvent&) {
    m_pCountingManager->Stop();
}

void TallywickFrame::OnFileCounted() {}

void TallywickFrame::OnFilterUpdate() {}

void TallywickFrame::OnAnalysisUpdate() {}
