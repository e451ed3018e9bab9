/* A DLL of no use: it only has to be found, or not, beside the program. */
int TabulonPlanted(void) {
    return 1;
}
