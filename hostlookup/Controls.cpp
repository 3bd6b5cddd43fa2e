// GetAddress and GetName: identities, resolvers and resources.
#include "Controls.h"
#include "LURRIN32.h"
#include "resource.h"

namespace lurrin {

// {B99BD23F-A33E-4A83-B722-B4F0A0783DD3}
const CLSID CLSID_GetAdrsPropPage = {0xB99BD23F, 0xA33E, 0x4A83, {0xB7, 0x22, 0xB4, 0xF0, 0xA0, 0x78, 0x3D, 0xD3}};
// {BDD56595-3BEC-472F-AB1D-00545F98D979}
const CLSID CLSID_GetNamePropPage = {0xBDD56595, 0x3BEC, 0x472F, {0xAB, 0x1D, 0x00, 0x54, 0x5F, 0x98, 0xD9, 0x79}};

namespace {
const CLookupCtrl::Kind kGetAdrs{CLSID_GetAdrs,       DIID__DGetAdrs, DIID__DGetAdrsEvents, &ResolveAddress,
                                 IDB_GETADRS,         IDD_ABOUTBOX_GETADRS, CLSID_GetAdrsPropPage};
const CLookupCtrl::Kind kGetName{CLSID_GetName,       DIID__DGetName, DIID__DGetNameEvents, &ResolveName,
                                 IDB_GETNAME,         IDD_ABOUTBOX_GETNAME, CLSID_GetNamePropPage};
}  // namespace

CGetadrsCtrl::CGetadrsCtrl() : CLookupCtrl(kGetAdrs) {}
CGetnameCtrl::CGetnameCtrl() : CLookupCtrl(kGetName) {}

CGetadrsPropPage::CGetadrsPropPage() : PropertyPage(IDD_PROPPAGE_GETADRS, IDS_PPG_GENERAL) {}
CGetnamePropPage::CGetnamePropPage() : PropertyPage(IDD_PROPPAGE_GETNAME, IDS_PPG_GENERAL) {}

}  // namespace lurrin
