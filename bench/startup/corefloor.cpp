// The smallest Qt Core program that answers on the command line: what any Qt command costs
// before it does anything.
#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    std::puts("Ambrus");
    return 0;
}
