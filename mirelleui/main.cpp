#include "CDupPics.h"

int main(int argc, char **argv)
{
    CDupPics app;
    return app.load(argc, argv);
}
