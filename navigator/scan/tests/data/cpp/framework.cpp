// mainfrm.cpp : implementation of the CMainFrame class
//

#include "stdafx.h"
#include "app.h"
#include "mainfrm.h"

#ifdef _DEBUG
#undef THIS_FILE
static char BASED_CODE THIS_FILE[] = __FILE__;
#endif

/////////////////////////////////////////////////////////////////////////////
// CMainFrame

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
	//{{AFX_MSG_MAP(CMainFrame)
	ON_WM_CREATE()
	ON_COMMAND(ID_VIEW_TOOLBAR, OnViewToolbar)
	//}}AFX_MSG_MAP
	ON_COMMAND(ID_HELP_INDEX, CFrameWnd::OnHelpIndex)
END_MESSAGE_MAP()

static UINT BASED_CODE buttons[] =
{
	ID_FILE_NEW,
	ID_FILE_OPEN,
};

/////////////////////////////////////////////////////////////////////////////
// CMainFrame construction/destruction

CMainFrame::CMainFrame()
{
}

CMainFrame::~CMainFrame()
{
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
	if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
		return -1;
	return 0;
}

/////////////////////////////////////////////////////////////////////////////
// CMainFrame diagnostics

#ifdef _DEBUG
void CMainFrame::AssertValid() const
{
	CFrameWnd::AssertValid();
}
#endif //_DEBUG

class CMainView : public CView
{
protected:
	CMainView();
	DECLARE_DYNCREATE(CMainView)
	DECLARE_SERIAL()
	DECLARE_DYNAMIC(/* comment */ CMainView )
public:
	//{{AFX_MSG(CMainView)
	afx_msg void OnPaint();
	//}}AFX_MSG
	DECLARE_MESSAGE_MAP()
public:
	virtual void OnDraw(CDC* pDC) { }
};

IMPLEMENT_SERIAL(CShape, CObject, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_DYNAMIC(CMainView, CView)
// The view's message map
BEGIN_MESSAGE_MAP(CMainView, CView)
	ON_WM_PAINT()
END_MESSAGE_MAP()

void CMainView::OnPaint() { }
