// Documents, views and the single-document template.
//
// A document holds the data; a view shows it inside a frame window. The single-document
// template makes the three of them: the document, then the frame (whose creation makes the
// view), then OnNewDocument of the document, then the view's first update, then shows the
// frame. Commands reach the active view, then its document, then the frame, then the
// application.
#pragma once

#include "framework/wnd.h"

#include <vector>

class CView;
class CDocument;
class CDocTemplate;
class CFrameWnd;

// What a frame needs to make its view: the view's class and the document it shows.
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
};

class CDocument : public CCmdTarget
{
public:
    CDocument() = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;
    ~CDocument() override;

    // Called once when the template makes the document; FALSE stops the creation.
    virtual BOOL OnNewDocument();
    // Empties the document (the default holds nothing).
    virtual void DeleteContents();
    // Called before the frame closes: TRUE lets it close. The default: TRUE.
    virtual BOOL SaveModified();
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);

    BOOL IsModified() const { return m_bModified; }
    void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    void AddView(CView* pView);
    // Removes the view; the document deletes itself when its last view goes.
    void RemoveView(CView* pView);
    CView* GetFirstView() const { return m_viewList.empty() ? nullptr : m_viewList.front(); }
    // OnUpdate of every view but pSender.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);

    CDocTemplate* m_pDocTemplate = nullptr;

private:
    std::vector<CView*> m_viewList;
    BOOL m_bModified = FALSE;
};

class CView : public CWnd
{
public:
    CDocument* GetDocument() const { return m_pDocument; }

    // Makes the view's window as child nID of pParentFrame, showing pContext's document.
    virtual BOOL Create(CWnd* pParentWnd, UINT nID, CCreateContext* pContext);
    // First update, once, before the frame is shown. The default calls OnUpdate.
    virtual void OnInitialUpdate();
    // The document changed (UpdateAllViews). The default repaints.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);

    // This view, then its document.
    BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) override;

protected:
    void OnDestroy() override;
    void PostNcDestroy() override; // a view made belongs to its window: delete this

    CDocument* m_pDocument = nullptr;
    friend class CDocument;
};

// A view made from a dialog template (child style, no caption): a form of controls.
class CFormView : public CView
{
public:
    explicit CFormView(UINT nIDTemplate) : m_nIDTemplate(nIDTemplate) {}

    BOOL Create(CWnd* pParentWnd, UINT nID, CCreateContext* pContext) override;
    // The frame's accelerators first, then the form's keyboard navigation.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Size of the form as its template makes it, in pixels.
    SIZE GetTemplateSize() const { return m_sizeTemplate; }
    // Makes the frame just large enough for the whole form (or, with bShrinkOnly, only
    // shrinks it).
    void ResizeParentToFit(BOOL bShrinkOnly = TRUE);

protected:
    UINT m_nIDTemplate;
    SIZE m_sizeTemplate = {0, 0};
};

class CDocTemplate : public CCmdTarget
{
public:
    CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                 const CRuntimeClass* pViewClass);

    // Makes a new document with its frame and view (lpszPathName must be null: documents
    // are not files here). Returns the document, or null when any step failed.
    virtual CDocument* OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    // The document tells its template that it is going away.
    virtual void RemoveDocument(CDocument* pDoc) = 0;

protected:
    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
};

class CSingleDocTemplate : public CDocTemplate
{
public:
    using CDocTemplate::CDocTemplate;
    ~CSingleDocTemplate() override;

    CDocument* OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    void RemoveDocument(CDocument* pDoc) override;
    CDocument* GetDocument() const { return m_pOnlyDoc; }

private:
    CDocument* m_pOnlyDoc = nullptr;
};
