// The scratch folders and stand-in helpers of the Windows run tests.
#include "tests/win/runner/winsupport.cpp"
