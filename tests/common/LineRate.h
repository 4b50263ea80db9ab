#ifndef LINERATE_H
#define LINERATE_H

// The output rate in bit/s set on the terminal behind fd, any rate included
// (not only those with a speed constant); 0 when it cannot be read. On a
// pseudo-terminal the master reads the rate the slave's user has set.
int lineRate(int fd);

#endif // LINERATE_H
