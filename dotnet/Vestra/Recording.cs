using System;
using Vestra.Native;

namespace Vestra
{
    /// <summary>Decryption of the recorders' AVI recordings; no device involved.</summary>
    public static unsafe class Recording
    {
        /// <summary>Writes the decrypted copy of an encrypted AVI recording.</summary>
        /// <remarks>An input that is not encrypted leaves a plain copy (see the library's log).</remarks>
        /// <param name="input">The encrypted recording's path.</param>
        /// <param name="output">The path to write.</param>
        /// <param name="key">The key text, at most 8 characters.</param>
        /// <exception cref="VestraException">No frame could be decrypted (status 0).</exception>
        public static void Decrypt(string input, string output, string key)
        {
            if (NativeMethods.VX_FileDecrypt(input, output, key) == 0)
                throw new VestraException(Constants.VX_STATUS_FAILED, $"no frame of {input} was decrypted",
                                          operation: nameof(Decrypt));
        }

        /// <summary>One encrypted key frame (the chunk's data, without its header), decrypted.</summary>
        /// <param name="frame">The frame.</param>
        /// <param name="key">The key text, at most 8 characters.</param>
        /// <returns>The decrypted frame, as long as the input.</returns>
        /// <exception cref="VestraException">The data is not an encrypted key frame.</exception>
        public static byte[] DecryptFrame(byte[] frame, string key)
        {
            if (frame == null)
                throw new ArgumentNullException(nameof(frame));
            var output = new byte[frame.Length];
            DecryptFrame(frame, output, key);
            return output;
        }

        /// <summary>One encrypted key frame decrypted into <paramref name="output"/> (which may be the input itself).</summary>
        /// <param name="frame">The frame.</param>
        /// <param name="output">At least as long as <paramref name="frame"/>.</param>
        /// <param name="key">The key text, at most 8 characters.</param>
        /// <exception cref="ArgumentException"><paramref name="output"/> is shorter than the frame.</exception>
        /// <exception cref="VestraException">The data is not an encrypted key frame.</exception>
        public static void DecryptFrame(ReadOnlySpan<byte> frame, Span<byte> output, string key)
        {
            if (output.Length < frame.Length)
                throw new ArgumentException($"{output.Length} bytes cannot hold a frame of {frame.Length}", nameof(output));
            fixed (byte* input = frame)
            fixed (byte* target = output)
            {
                if (NativeMethods.VX_FrameDecrypt(input, frame.Length, target, key) == 0)
                    throw new VestraException(Constants.VX_STATUS_FAILED, "not an encrypted key frame",
                                              operation: nameof(DecryptFrame));
            }
        }
    }
}
