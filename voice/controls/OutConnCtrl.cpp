// The OutConn control (see OutConnCtrl.h).
#include "OutConnCtrl.h"

#include "kvo32.h"

namespace kvo {

namespace {
const CCallFlowControl::Kind kOutConn{CLSID_OutConn, DIID__DOutConn, DIID__DOutConnEvents, "OutConn", 1, 1};
}  // namespace

COutConnCtrl::COutConnCtrl() : CCallFlowControl(kOutConn) {}

}  // namespace kvo
