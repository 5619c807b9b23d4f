// The scratch folders and file helpers of the Windows run tests.
#include "tests/win/runner/winsupport.cpp"
