#include "app/launch.h"

int main(int argc, char **argv)
{
    return vimora::runApplication(argc, argv);
}
