// A program standing in for a downloaded installer: it leaves "<its own path>.started"
// beside itself and ends.
#include <fstream>
#include <string>

int main(int, char **argv)
{
    std::ofstream(std::string(argv[0]) + ".started") << "started\n";
    return 0;
}
