// CAnimatedIco: a static control that shows a sequence of 16 x 16 icons, one frame per
// timer period (the driver-state indicator of the status bar).
#pragma once

#include "framework/framework.h"

class CAnimatedIco : public CStatic
{
public:
    // Makes the control (id 0xFFFF, SS_ICON | SS_CENTERIMAGE, no text) over rect, keeps the
    // sequence (icon ids in the low 16 bits of each entry; the list must outlive the
    // control) and shows frame 0. Returns FALSE when the control cannot be made.
    BOOL Create(const RECT& rect, CWnd* pParentWnd, const DWORD* pIcons, int nFrames,
                UINT_PTR nTimerId, UINT nPeriod);
    // Replaces the sequence and goes back to frame 0 without drawing it.
    void SetIcons(const DWORD* pIcons, int nFrames);
    void StartTimer();
    void StopTimer();
    int GetFrame() const { return m_nFrame; }

protected:
    // Own timer: the next frame. Other timers: default processing.
    void OnTimer(UINT_PTR nIDEvent) override;
    void OnDestroy() override;

private:
    // Loads the current frame's icon into the control (nothing when it cannot be loaded),
    // frees the one shown before and repaints at once.
    void ShowFrame();

    const DWORD* m_pIcons = nullptr;
    int m_nFrames = 0;
    int m_nFrame = 0;
    UINT_PTR m_nTimerId = 0;
    UINT m_nPeriod = 0;
};
