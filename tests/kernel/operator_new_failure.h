// The C++ heap of the test program made to fail, as it would with the memory
// exhausted: while an OperatorNewFails is alive, operator new throws
// std::bad_alloc and its nothrow form returns null, on every thread. The
// kernel must never let such an exception out through its C interface.
// The recorder of raised reports lets its own allocations through.
#ifndef LUMAVIEW_TESTS_OPERATOR_NEW_FAILURE_H
#define LUMAVIEW_TESTS_OPERATOR_NEW_FAILURE_H

namespace lumaview::testing {

class OperatorNewFails {
 public:
  OperatorNewFails();
  ~OperatorNewFails();
  OperatorNewFails(const OperatorNewFails&) = delete;
  OperatorNewFails& operator=(const OperatorNewFails&) = delete;
};

// While alive, the allocations of the calling thread succeed even inside an
// OperatorNewFails: for the test's own bookkeeping.
class OperatorNewAllowed {
 public:
  OperatorNewAllowed();
  ~OperatorNewAllowed();
  OperatorNewAllowed(const OperatorNewAllowed&) = delete;
  OperatorNewAllowed& operator=(const OperatorNewAllowed&) = delete;
};

}  // namespace lumaview::testing

#endif
