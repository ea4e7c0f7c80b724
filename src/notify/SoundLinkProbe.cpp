// The link probe: LazySndfile.cpp and LazyPulse.cpp, built into it with
// TICKWELL_SOUND_LINK_PROBE, refer to the sound libraries' own functions, so
// this program links the libraries that the real one only opens when the
// first sound plays, and uses the same functions of them. A function the
// library lacks fails its link. It is never run nor installed: the package
// takes its dependencies on the sound libraries from it, through
// dpkg-shlibdeps (packaging/CMakeLists.txt).
int main()
{
    return 0;
}
