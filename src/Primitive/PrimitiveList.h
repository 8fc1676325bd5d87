// The drawing primitives made from an element, in the order they were made.
#pragma once

#include <memory>
#include <vector>

namespace zelvane {

class Primitive;

class PrimitiveList : public std::vector<std::shared_ptr<Primitive>> {};

} // namespace zelvane
