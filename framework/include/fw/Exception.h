// Base of the exceptions the products throw as heap objects: `throw new X`,
// and the catcher, which then owns the object, ends it with Delete().
#pragma once
#include <string>

namespace fw {

class Exception {
public:
    Exception(const Exception&) = delete;
    Exception& operator=(const Exception&) = delete;
    virtual ~Exception() = default;
    void Delete() { delete this; }

    // What a COM boundary reports when the exception reaches it: a failure
    // status (an HRESULT; 0 lets the boundary choose) and a description.
    virtual long ErrorStatus() const { return 0; }
    virtual std::wstring ErrorDescription() const { return {}; }

protected:
    Exception() = default;
};

}  // namespace fw
