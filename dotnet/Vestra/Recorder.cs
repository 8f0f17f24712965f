using System;
using System.Runtime.InteropServices;
using Vestra.Native;

namespace Vestra
{
    /// <summary>
    /// One recorder: opened by model or ID code, or taken from the device
    /// list. Every operation logs in with the password given here on first
    /// use. <see cref="Dispose"/> logs out and gives the record back; a
    /// recorder that is only collected does the same from its finalizer.
    /// </summary>
    /// <remarks>
    /// Every device operation of the library is a method named after its C
    /// function (<c>VX_GetDevName</c> is <see cref="GetDevName"/>); a get
    /// without arguments is also a property (<see cref="DevName"/>), writable
    /// where its set takes what it returns. A failure raises
    /// <see cref="VestraException"/>; sets and actions return the record's
    /// status number, so that special statuses (-110 to -113) come back as
    /// values.
    /// </remarks>
    public sealed partial class Recorder : IDisposable
    {
        private static readonly int LastCmdOffset = (int)Marshal.OffsetOf(typeof(VestraInfo), nameof(VestraInfo.lastCmd));

        private readonly RecorderHandle handle;
        private readonly string password;

        private Recorder(RecorderHandle handle, string password)
        {
            this.handle = handle;
            this.password = password ?? throw new ArgumentNullException(nameof(password));
        }

        /// <summary>Opens the first attached recorder of a model, such as "VX007".</summary>
        /// <param name="model">The model name.</param>
        /// <param name="password">The login password every operation uses.</param>
        /// <exception cref="VestraException">No such recorder could be opened (status -101).</exception>
        public static Recorder Open(string model, string password) =>
            Adopt(NativeMethods.VX_InitDev(model), true, password, $"no recorder {model} could be opened", nameof(Open));

        /// <summary>Opens the first attached recorder if it carries an ID code.</summary>
        /// <param name="idCode">The ID code, 5 to 7 characters.</param>
        /// <param name="password">The login password every operation uses.</param>
        /// <exception cref="VestraException">No such recorder could be opened (status -101).</exception>
        public static Recorder OpenByIdCode(string idCode, string password) =>
            Adopt(NativeMethods.VX_InitDevEx(idCode), true, password, $"no recorder {idCode} could be opened",
                  nameof(OpenByIdCode));

        /// <summary>The recorder of a device-list slot; the record stays the list's (disposing logs out only).</summary>
        /// <param name="index">The slot, as in <see cref="Device.Index"/>.</param>
        /// <param name="password">The login password every operation uses.</param>
        /// <exception cref="VestraException">The slot holds no record (status -101).</exception>
        public static Recorder FromList(int index, string password) =>
            Adopt(NativeMethods.VX_GetDevHandleFromList(index), false, password, $"no record in slot {index}",
                  nameof(FromList));

        private static Recorder Adopt(IntPtr record, bool owned, string password, string failure, string operation)
        {
            if (record == IntPtr.Zero)
                throw new VestraException(Constants.VX_STATUS_NOT_OPEN, failure, operation: operation);
            return new Recorder(new RecorderHandle(record, owned), password);
        }

        /// <summary>The record, for the declarations of <see cref="NativeMethods"/>.</summary>
        public RecorderHandle Handle => handle;

        /// <summary>True once disposed: every operation then raises status -101.</summary>
        public bool IsDisposed => handle.IsClosed;

        /// <summary>Status number of the record's last operation.</summary>
        public int Status => NativeMethods.VX_GetErrNo(Enter(nameof(Status)));

        /// <summary>The record's error text (the last failed reply, or a raw command's reply).</summary>
        public string ErrorText => AnsiText.FromPointer(NativeMethods.VX_GetErrStr(Enter(nameof(ErrorText))));

        /// <summary>A copy of the record itself.</summary>
        public VestraInfo Info => WithRecord(nameof(Info), p => Marshal.PtrToStructure<VestraInfo>(p));

        /// <summary>The ID code, read from the device.</summary>
        /// <exception cref="VestraException">The device did not give it.</exception>
        public string IdCode
        {
            get
            {
                var area = new byte[Constants.VX_TEXT_AREA];
                Check(nameof(IdCode), NativeMethods.VX_GetIDCode(Enter(nameof(IdCode)), area));
                return AnsiText.Decode(area);
            }
        }

        /// <summary>Logs in now (operations otherwise log in on first use).</summary>
        /// <exception cref="VestraException">The login was refused (status -102).</exception>
        public void Login() => Check(nameof(Login), NativeMethods.VX_Login(Enter(nameof(Login)), password));

        /// <summary>Logs out; the next operation logs in again.</summary>
        /// <exception cref="VestraException">The device refused.</exception>
        public void Logout() => Check(nameof(Logout), NativeMethods.VX_Logout(Enter(nameof(Logout))));

        /// <summary>Sends a raw command line (CR LF added when missing) and returns the device's whole reply.</summary>
        /// <param name="line">The command line, such as "VX+DEVNAME?".</param>
        /// <exception cref="VestraException">The device refused or did not answer.</exception>
        public string Command(string line)
        {
            if (!line.EndsWith("\r\n", StringComparison.Ordinal))
                line += "\r\n";
            Check(nameof(Command), NativeMethods.VX_Cmd(Enter(nameof(Command)), password, line));
            return ErrorText;
        }

        /// <summary>Logs out and gives the record back; later operations raise status -101.</summary>
        public void Dispose() => handle.Dispose();

        /// <summary>The record, or the error a released record gives.</summary>
        internal RecorderHandle Enter(string operation)
        {
            if (handle.IsClosed)
                throw new VestraException(Constants.VX_STATUS_NOT_OPEN, "record released", operation: operation);
            return handle;
        }

        /// <summary>The status number after a success; the failure as an exception.</summary>
        internal int Check(string operation, uint result)
        {
            if (result != 0)
                return NativeMethods.VX_GetErrNo(handle);
            var command = WithRecord(operation, p => AnsiText.FromPointer(p + LastCmdOffset));
            throw new VestraException(NativeMethods.VX_GetErrNo(handle), ErrorText, command, operation);
        }

        private T WithRecord<T>(string operation, Func<IntPtr, T> read)
        {
            var added = false;
            Enter(operation).DangerousAddRef(ref added);
            try
            {
                return read(handle.DangerousGetHandle());
            }
            finally
            {
                if (added)
                    handle.DangerousRelease();
            }
        }

        /// <inheritdoc/>
        public override string ToString() =>
            IsDisposed ? "Recorder (released)" : $"Recorder {AnsiText.Decode(Info.model.name)} serial={AnsiText.Decode(Info.serial)}";
    }
}
