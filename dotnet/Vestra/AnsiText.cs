using System;
using System.Runtime.InteropServices;

namespace Vestra
{
    /// <summary>
    /// Texts in the library's code page: the ANSI code page on Windows, UTF-8
    /// elsewhere (what the marshaller's ANSI strings are on each).
    /// </summary>
    internal static unsafe class AnsiText
    {
        /// <summary>The text of an area, up to its first NUL.</summary>
        public static string Decode(byte[]? area)
        {
            if (area == null)
                return "";
            var length = Array.IndexOf(area, (byte)0);
            return Decode(area, length < 0 ? area.Length : length);
        }

        private static string Decode(byte[] area, int length)
        {
            if (length == 0)
                return "";
            fixed (byte* p = area)
                return Marshal.PtrToStringAnsi((IntPtr)p, length) ?? "";
        }

        /// <summary>A NUL-terminated text the library owns.</summary>
        public static string FromPointer(IntPtr text) => text == IntPtr.Zero ? "" : Marshal.PtrToStringAnsi(text) ?? "";

        /// <summary>
        /// The bytes of a text, without terminator. A character the code page
        /// cannot hold raises instead of being sent as a substitute ("?").
        /// </summary>
        public static byte[] Encode(string text, string name)
        {
            var native = Marshal.StringToHGlobalAnsi(text);
            try
            {
                var length = 0;
                while (((byte*)native)[length] != 0)
                    ++length;
                var bytes = new byte[length];
                Marshal.Copy(native, bytes, 0, length);
                if (Decode(bytes, length) != text)
                    throw new ArgumentException($"the text cannot be written in the library's code page: {text}", name);
                return bytes;
            }
            finally
            {
                Marshal.FreeHGlobal(native);
            }
        }

        /// <summary>A text as a record field of <paramref name="size"/> bytes, NUL-padded.</summary>
        public static byte[] EncodeField(string? text, int size, string name)
        {
            var bytes = Encode(text ?? "", name);
            if (bytes.Length > size)
                throw new ArgumentException($"{bytes.Length} bytes do not fit the field's {size}", name);
            Array.Resize(ref bytes, size);
            return bytes;
        }
    }
}
