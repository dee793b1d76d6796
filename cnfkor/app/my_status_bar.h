// CMyStatusBar: the main window's status bar, with the message pane and the owner-drawn pane
// that shows the driver-state animation of the current profile.
#pragma once

#include "cnfkor/app/animated_ico.h"

class CMyStatusBar : public CStatusBar
{
public:
    // Which pane holds the animation.
    void SetIconPane(int nIndex) { m_nIconPane = nIndex; }
    // The sequence the animation shows (8 frames); passed on at once when it runs.
    void SetIconSequence(const DWORD* pIcons, int nFrames);
    void StartIconTimer();
    void StopIconTimer();

    CAnimatedIco m_AnimatedIco;
    int m_nIconPane = -1;
    const DWORD* m_pIcons = nullptr;
    int m_nIconCount = 0;
    bool m_bIconNotCreated = true;

    // The icon pane, the first time it is drawn: makes the animation over it and starts it.
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    void OnDestroy() override;
};
