// Base of the exceptions the products throw as heap objects: `throw new X`,
// and the catcher, which then owns the object, ends it with Delete().
#pragma once

namespace fw {

class Exception {
public:
    Exception(const Exception&) = delete;
    Exception& operator=(const Exception&) = delete;
    virtual ~Exception() = default;
    void Delete() { delete this; }

protected:
    Exception() = default;
};

}  // namespace fw
