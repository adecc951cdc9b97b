/* A program for the signature tests to sign; it does nothing. */
int main(void) { return 0; }
