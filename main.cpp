#include "Program.h"

int main()
{
    return Program::main_();
}
