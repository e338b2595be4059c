#include "app/Application.h"

int main(int argc, char **argv)
{
    return velmora::app::runApplication(argc, argv);
}
