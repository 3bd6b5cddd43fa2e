// The OutConn control: a connector that lets a flow continue elsewhere on the
// form or on another page. It persists only the base items.
#pragma once
#include "CallFlowControl.h"

namespace kvo {

class COutConnCtrl : public CCallFlowControl {
public:
    COutConnCtrl();
};

}  // namespace kvo
