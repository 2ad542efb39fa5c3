// Anchor so that the test-support library is never empty.
namespace tc_test_support { int anchor = 0; }
