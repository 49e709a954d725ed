#include "app/entrysequence.h"

int main(int argc, char **argv)
{
    return RunEntrySequence(argc, argv);
}
