// The start and exit of a console program that does nothing: the floor
// under any one-shot command run under Wine.
int main()
{
    return 0;
}
