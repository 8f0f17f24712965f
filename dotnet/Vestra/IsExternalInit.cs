namespace System.Runtime.CompilerServices
{
    // What records' init accessors need; netstandard2.0 lacks it.
    internal static class IsExternalInit
    {
    }
}
