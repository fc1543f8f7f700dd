-- The suite's own stored procedures that the administration console calls by name.
-- Each CREATE PROCEDURE is a batch of its own.

-- Creates an account row and its default configuration, copied from the template account -1,
-- when the account does not exist yet. The console then fills in the account's details.
CREATE PROCEDURE account_check @acct int AS
SET NOCOUNT ON
IF EXISTS (SELECT * FROM Account_info WHERE hosp_acct_id = @acct)
    RETURN 0
INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id, is_deleted)
VALUES (@acct, 'Account ' + CONVERT(varchar(12), @acct), 0, 0)
INSERT Archive_table_purging
SELECT @acct, length_output_queue, length_system_log, length_trans_stats, length_document_info,
       length_edit_history, extra1, extra2, extra3, extra4, extra5, extra6, extra7, flag1, string1, date1
FROM Archive_table_purging WHERE hosp_acct_id = -1
INSERT Suspension_types
SELECT @acct, suspension_type, suspension_severity, suspension_description
FROM Suspension_types WHERE hosp_acct_id = -1
INSERT Pause_types
SELECT @acct, pause_type, pause_description, work_type, work_hours_choice, pause_reason_choice
FROM Pause_types WHERE hosp_acct_id = -1
INSERT Reports_cfg
SELECT @acct, dept_id, report_type_nbr, report_version_nbr, report_name, billing_linecount_cfg,
       payroll_linecount_cfg, is_deleted, flag1, string1
FROM Reports_cfg WHERE hosp_acct_id = -1
-- Every user's "<All New Accounts>" privileges become the new account's.
INSERT Privileges_accounts
SELECT user_id, @acct, privilege_set1, privilege_set2
FROM Privileges_accounts WHERE hosp_acct_id = -1
RETURN 0
GO

-- After an account changed partition, its speech-recognition heading settings follow it.
CREATE PROCEDURE update_sr_heading_configs @acct int AS
SET NOCOUNT ON
DECLARE @partition int
SELECT @partition = partition_id FROM Account_info WHERE hosp_acct_id = @acct
IF @partition IS NULL
    RETURN 1
UPDATE System_user_cfg
SET partition_id = @partition
WHERE application_id = 30
  AND key_name LIKE 'SRHeading' + CONVERT(varchar(12), @acct) + '%'
RETURN 0
GO

-- Reports waiting for each physician user's signature: one row per physician id (user flag1)
-- with its count. @physician_id 0 gives every physician user.
CREATE PROCEDURE get_paxlet_inbox_summary @physician_id int = 0, @options int = 0 AS
SET NOCOUNT ON
SELECT SUB.flag1 AS physician_id, COUNT(*) AS pending
FROM System_user_bindery SUB, Signature_relationships SR, Signature_pending_phys_reports SPR,
     Document_demographics DD
WHERE SUB.is_deleted = 0 AND SUB.flag3 = 0
  AND ((@physician_id = 0 AND SUB.flag1 > 0) OR (@physician_id <> 0 AND SUB.flag1 = @physician_id))
  AND SR.related_physician_id = SUB.flag1 AND SR.access_type = 2 AND SR.flag3 = 0
  AND (SR.effective_date IS NULL OR SR.effective_date <= GETDATE())
  AND (SR.expire_date IS NULL OR SR.expire_date > GETDATE())
  AND SPR.physician_id = SR.physician_id
  AND DD.document_id = SPR.document_id
  AND (SPR.available_for_signature = 1 OR (SPR.signing_physician = 1 AND DD.suspension_type = 5))
  AND DD.suspension_type < 8 AND DD.suspension_type <> 2
GROUP BY SUB.flag1
ORDER BY SUB.flag1
GO

-- A fax resend also resends the document's attachments: their output rows are requeued with
-- the same destination.
CREATE PROCEDURE send_attachment_faxes
    @output_identifier int, @trans_id varchar(8), @create_date varchar(30), @document_id int,
    @hosp_acct_id int, @physician_id int, @fax_nbr varchar(30), @description varchar(255) = '',
    @status int = 21
AS
SET NOCOUNT ON
UPDATE Output_queue
SET known_status = @status, fax_nbr = @fax_nbr, fax_filename = NULL, record_timestamp = GETDATE(),
    output_time = NULL, time_to_send = NULL, error_code = 0, flag3 = @status
WHERE document_id = @document_id AND output_identifier <> @output_identifier AND output_type = 16
RETURN 0
GO

-- Records that an external upload was requested again.
CREATE PROCEDURE upload_requested_audit
    @output_identifier int, @user_id int, @status int, @user_name varchar(60)
AS
SET NOCOUNT ON
INSERT System_log (date_timestamp, severity, type, user_id, error_code, hosp_acct_id, schedule_id,
                   document_id, flag1, msg1)
SELECT GETDATE(), 2, 20, @user_id, @status, hosp_acct_id, @output_identifier, document_id, 0,
       'External upload requested again by ' + @user_name
FROM Output_queue WHERE output_identifier = @output_identifier
RETURN 0
GO

-- Marks a kind of workstation data as updated (1 dictation interface work types, 2 routines),
-- so that workstations refresh it at their next log-in.
CREATE PROCEDURE pc_update @update_type int, @flag int = 0 AS
SET NOCOUNT ON
IF EXISTS (SELECT * FROM System_pc_updates WHERE update_type = @update_type)
    UPDATE System_pc_updates SET update_datetime = GETDATE(), flag1 = @flag WHERE update_type = @update_type
ELSE
    INSERT System_pc_updates VALUES (@update_type, GETDATE(), @flag)
RETURN 0
GO

GRANT EXECUTE ON account_check TO public
GRANT EXECUTE ON update_sr_heading_configs TO public
GRANT EXECUTE ON get_paxlet_inbox_summary TO public
GRANT EXECUTE ON send_attachment_faxes TO public
GRANT EXECUTE ON upload_requested_audit TO public
GRANT EXECUTE ON pc_update TO public
GO
