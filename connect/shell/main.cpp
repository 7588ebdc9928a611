#include "ConnectMain.h"

int main(int argc, char **argv)
{
    return run_connect(argc, argv);
}
