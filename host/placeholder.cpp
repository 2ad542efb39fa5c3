// placeholder until the kernel lands
namespace hk { int placeholder_anchor = 0; }
