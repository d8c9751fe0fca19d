// A DLL beside the tests, where no system DLL search may find it.
extern "C" __declspec(dllexport) int Planted()
{
    return 1;
}
