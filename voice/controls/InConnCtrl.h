// The InConn control: a connector that lets a flow continue elsewhere on the
// form or on another page. It persists only the base items.
#pragma once
#include "CallFlowControl.h"

namespace kvo {

class CInConnCtrl : public CCallFlowControl {
public:
    CInConnCtrl();
};

}  // namespace kvo
