using System;
using System.Runtime.InteropServices;
using Vestra.Native;

namespace Vestra
{
    /// <summary>
    /// A device record (<c>VestraInfo *</c>). Releasing it logs the recorder
    /// out; a record the caller opened is also given back with
    /// <c>VX_UnInitDev</c> (which logs out first). Device-list records belong
    /// to the library and are not freed. The release also runs when the handle
    /// is finalized.
    /// </summary>
    public sealed class RecorderHandle : SafeHandle
    {
        private static readonly int IsLoginOffset = (int)Marshal.OffsetOf(typeof(VestraInfo), nameof(VestraInfo.isLogin));

        internal RecorderHandle(IntPtr record, bool owned)
            : base(IntPtr.Zero, true)
        {
            SetHandle(record);
            Owned = owned;
        }

        /// <summary>True for a record the caller opened (given back on release), false for a list record.</summary>
        public bool Owned { get; }

        /// <inheritdoc/>
        public override bool IsInvalid => handle == IntPtr.Zero;

        /// <inheritdoc/>
        protected override bool ReleaseHandle()
        {
            // The handle is closing, so the declarations over RecorderHandle no
            // longer take it: these two take the pointer.
            if (Owned)
                UnInitDev(handle);
            else if (Marshal.ReadInt32(handle, IsLoginOffset) != 0)
                Logout(handle);
            return true;
        }

        [DllImport(NativeMethods.Library, EntryPoint = "VX_UnInitDev", CallingConvention = CallingConvention.Cdecl)]
        private static extern void UnInitDev(IntPtr dev);

        [DllImport(NativeMethods.Library, EntryPoint = "VX_Logout", CallingConvention = CallingConvention.Cdecl)]
        private static extern uint Logout(IntPtr dev);
    }
}
