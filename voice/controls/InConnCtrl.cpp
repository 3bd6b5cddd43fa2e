// The InConn control (see InConnCtrl.h).
#include "InConnCtrl.h"

#include "kvo32.h"

namespace kvo {

namespace {
const CCallFlowControl::Kind kInConn{CLSID_InConn, DIID__DInConn, DIID__DInConnEvents, "InConn", 1, 1};
}  // namespace

CInConnCtrl::CInConnCtrl() : CCallFlowControl(kInConn) {}

}  // namespace kvo
