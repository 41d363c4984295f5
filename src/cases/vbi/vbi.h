// The VBI test object: the closed-caption test over a range of TV channels.
#pragma once

#include <cstdint>

namespace orbex {

class COrbGBuilder;

class CVBI {
public:
    explicit CVBI(COrbGBuilder* gBuilder) : m_pGBuilder(gBuilder) {}
    virtual ~CVBI() = default;
    CVBI(const CVBI&) = delete;
    CVBI& operator=(const CVBI&) = delete;

    int32_t ExecuteTest();
    int32_t Test_ClosedCaption();

private:
    COrbGBuilder* m_pGBuilder = nullptr;
};

}  // namespace orbex
