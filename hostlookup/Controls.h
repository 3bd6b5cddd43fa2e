// The two controls and their property pages: each names its identity and
// resources; behaviour comes from CLookupCtrl and the framework.
#pragma once
#include "LookupCtrl.h"
#include "fw/ole/PropertyPage.h"

namespace lurrin {

// Property pages are not in the type library; their ids live here.
extern const CLSID CLSID_GetAdrsPropPage;
extern const CLSID CLSID_GetNamePropPage;

class CGetadrsCtrl : public CLookupCtrl {
public:
    CGetadrsCtrl();
};

class CGetnameCtrl : public CLookupCtrl {
public:
    CGetnameCtrl();
};

class CGetadrsPropPage : public fw::ole::PropertyPage {
public:
    CGetadrsPropPage();
};

class CGetnamePropPage : public fw::ole::PropertyPage {
public:
    CGetnamePropPage();
};

}  // namespace lurrin
