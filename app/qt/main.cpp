#include "app/start.h"

int main()
{
    return start_program();
}
