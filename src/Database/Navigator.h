// The project's navigator: what it knows of the host's navigator is its last answer.
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <memory>

namespace zelvane {

class Navigator {
public:
    GSErrCode getLastError() const { return m_lastError; }

private:
    std::shared_ptr<void> m_data;
    GSErrCode m_lastError = NoError;
};

} // namespace zelvane
