// Kept apart from <termios.h>, whose termios clashes with the kernel's.
#include "LineRate.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

int lineRate(int fd)
{
    termios2 settings{};
    if (fd < 0 || ::ioctl(fd, TCGETS2, &settings) != 0)
        return 0;
    return int(settings.c_ospeed);
}
