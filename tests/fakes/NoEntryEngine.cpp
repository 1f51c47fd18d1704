// Loads like an engine library but lacks its entry point.
extern "C" __attribute__((visibility("default"))) int NotTheEntry()
{
    return 0;
}
