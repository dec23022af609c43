#include "game/screens/ProductInfo.h"

#include <cstdio>

// The game itself is not wired in yet: the executable reports its version and exits.
int main()
{
    std::printf("%s\n", ProductInfo::NameAndVersion().c_str());
    return 0;
}
